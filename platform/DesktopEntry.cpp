#include "platform/DesktopEntry.h"

namespace selvane::platform {

namespace {

// The escapes of a string value: the file is line based, so line breaks must not stand in
// it as they are, and "\" introduces an escape.
std::string EscapeString(const std::string& value)
{
    std::string result;
    for (const char character : value) {
        switch (character) {
        case '\\': result += "\\\\"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        default: result += character;
        }
    }
    // A leading space would be taken as padding around "=".
    if (!result.empty() && result[0] == ' ') result.replace(0, 1, "\\s");
    return result;
}

}  // namespace

std::string QuoteExecArgument(const std::string& argument)
{
    // The quoting rule comes first: within double quotes '"', '`', '$' and '\' take a
    // backslash. The string escapes are then applied to the quoted text, which doubles
    // every backslash again (a literal "\" ends up as four of them in the file).
    std::string quoted = "\"";
    for (const char character : argument) {
        if (character == '"' || character == '`' || character == '$' || character == '\\') quoted += '\\';
        quoted += character;
    }
    quoted += '"';
    std::string result;
    for (const char character : EscapeString(quoted)) {
        result += character;
        // "%" starts a field code even inside quotes; "%%" is a literal "%".
        if (character == '%') result += '%';
    }
    return result;
}

std::string FormatDesktopEntry(const DesktopEntry& entry)
{
    std::string text = "[Desktop Entry]\nType=Application\n";
    text += "Name=" + EscapeString(entry.name) + "\n";
    text += "Exec=" + QuoteExecArgument(entry.program) + "\n";
    if (!entry.workingFolder.empty()) text += "Path=" + EscapeString(entry.workingFolder) + "\n";
    return text;
}

}  // namespace selvane::platform
