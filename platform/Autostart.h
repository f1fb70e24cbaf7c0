// The current user's start-at-log-on entries: files "<name>.desktop" in the XDG autostart
// folder ($XDG_CONFIG_HOME/autostart, or ~/.config/autostart), which desktop sessions run
// when the user logs on.
//
// Not for use while another thread changes the environment.
#pragma once

#include <string>

namespace selvane::platform {

// Writes (or replaces, atomically) the entry "<name>.desktop" that starts program, creating
// the autostart folder when it is missing. Returns false, writing nothing, when there is
// no autostart folder to be had (no HOME, or the folder cannot be created). Throws OsError
// when the entry itself cannot be written.
bool WriteAutostartEntry(const std::string& name, const std::string& program);

// Removes the entry "<name>.desktop". A missing entry or folder is no error; other
// failures are ignored too. Never throws.
void RemoveAutostartEntry(const std::string& name);

}  // namespace selvane::platform
