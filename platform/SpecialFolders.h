// The user's folders after the freedesktop.org rules (XDG base directories and
// xdg-user-dirs). They are read from the environment and from user-dirs.dirs on every
// call, so a change of HOME or XDG_* takes effect at once.
//
// Each answer is an absolute path without a trailing "/", or the empty text when it cannot
// be worked out (no HOME and no usable XDG variable). The folders need not exist. Never
// throws. Not for use while another thread changes the environment.
#pragma once

#include <string>

namespace selvane::platform {

// $HOME when it is an absolute path.
std::string HomeFolder();
// $XDG_CONFIG_HOME, or ~/.config.
std::string ConfigFolder();
// XDG_DESKTOP_DIR of user-dirs.dirs, or ~/Desktop.
std::string DesktopFolder();
// XDG_DOCUMENTS_DIR of user-dirs.dirs, or ~/Documents.
std::string DocumentsFolder();
// XDG_PICTURES_DIR of user-dirs.dirs, or the home folder itself.
std::string PicturesFolder();
// $XDG_DATA_HOME/applications, or ~/.local/share/applications: where menu entries go.
std::string ApplicationsFolder();

}  // namespace selvane::platform
