// Text of freedesktop.org desktop entries (".desktop" files) that start one program, as
// the start-at-log-on entry and the shortcuts use them. Pure text; never throws.
#pragma once

#include <string>

namespace selvane::platform {

struct DesktopEntry {
    std::string name;           // Name=
    std::string program;        // the program's full path, the whole of Exec=
    std::string workingFolder;  // Path=; left out when empty
};

// The entry as file text: a [Desktop Entry] group with Type=Application, Name, Exec, and
// Path when given. Exec holds the program's path as one quoted argument, so that spaces,
// quotes, "$", "`", "\" and "%" in it reach the program unchanged.
std::string FormatDesktopEntry(const DesktopEntry& entry);

// One argument of an Exec line in its final, file form: between double quotes, with the
// quoting rule's escapes, then the string escapes of the file format, "%" doubled.
std::string QuoteExecArgument(const std::string& argument);

}  // namespace selvane::platform
