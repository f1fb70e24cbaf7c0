// Text, number, message and file helpers. The system half of the unit is in
// TessaroTPUSystem.cpp.
#include "util/TessaroTPU.h"

#include "platform/FileAttributes.h"
#include "util/MessageHandler.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <stdexcept>

namespace selvane {

bool FolderExists(const std::string& path)
{
    if (path.empty() || path.back() == ' ') return false;
    const auto attributes = platform::GetFileAttributes(path);
    return attributes && attributes->directory;
}

bool FileExists(const std::string& path)
{
    const auto attributes = platform::GetFileAttributes(path);
    return attributes && !attributes->directory;
}

bool IsFolder(const std::string& path)
{
    return FolderExists(path) && !FileExists(path);
}

bool FileExistsMsg(const std::string& path)
{
    if (FileExists(path)) return true;
    ShowPlainMessage(path.empty() ? "No file specified!" : "File \"" + path + "\" does not exist");
    return false;
}

bool ForceDirectories(const std::string& path)
{
    if (path.empty()) throw std::runtime_error("Unable to create directory");
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const auto isDirectory = [](const std::string& p) {
        const auto attributes = platform::GetFileAttributes(p);
        return attributes && attributes->directory;
    };
    if (isDirectory(folder)) return true;
    const auto slash = folder.rfind('/');
    if (slash != std::string::npos) {
        const std::string parent = slash == 0 ? "/" : folder.substr(0, slash);
        if (!ForceDirectories(parent)) return false;
    }
    // Another process may create it between the test and here; that is success too.
    return platform::MakeDirectory(folder) || (errno == EEXIST && isDirectory(folder));
}

std::int8_t CreateFolderMsg(const std::string& path)
{
    if (FolderExists(path)) return 0;
    if (!path.empty() && ForceDirectories(path)) return 1;
    ShowErrorMessage("Cannot create directory!\r\n" + path);
    return -1;
}

std::string AddTrailingBackslash(const std::string& path)
{
    if (path.empty() || path.back() == '/') return path;
    return path + '/';
}

std::string ReverseText(const std::string& text)
{
    return {text.rbegin(), text.rend()};
}

int LastPos(const std::string& sub, const std::string& text)
{
    if (sub.empty()) return 0;
    const auto found = ReverseText(text).find(ReverseText(sub));
    if (found == std::string::npos) return 0;
    return static_cast<int>(text.size() - sub.size() - found) + 1;
}

std::string CopyRange(const std::string& text, int first, int last)
{
    first = std::max(first, 1);
    last = std::min(last, static_cast<int>(text.size()));
    if (last < first) return {};
    return text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first + 1));
}

std::string ExtractOnlyName(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const int dot = LastPos(".", name);
    return dot == 0 ? name : CopyRange(name, 1, dot - 1);
}

std::string ExtractFilePath(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FormatReal(double value, int decimals)
{
    // to_chars ignores the process locale, so "." is the separator under every locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    const auto dot = text.find('.');
    if (dot == std::string::npos) return text;
    // Cut the digits, keeping any exponent that general format wrote.
    const auto exponent = text.find_first_of("eE", dot);
    const std::string tail = exponent == std::string::npos ? "" : text.substr(exponent);
    const std::string mantissa = text.substr(0, exponent);
    return mantissa.substr(0, std::min(mantissa.size(), dot + 1 + static_cast<std::size_t>(decimals))) + tail;
}

std::string FormatInteger(std::int32_t value)
{
    return std::to_string(value);
}

namespace {

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to)
{
    std::string result;
    std::size_t start = 0;
    for (auto found = text.find(from); found != std::string::npos; found = text.find(from, start)) {
        result.append(text, start, found - start).append(to);
        start = found + from.size();
    }
    return result.append(text, start, std::string::npos);
}

void ShowMessage(MessageKind kind, const char* caption, const std::string& text)
{
    if (text.empty()) return;
    DeliverMessage(kind, caption, ExpandLineBreaks(text));
}

}  // namespace

std::string ExpandLineBreaks(const std::string& text)
{
    return ReplaceAll(ReplaceAll(ReplaceAll(text, "CRLF ", "CRLF"), " CRLF ", "CRLF"), "CRLF", "\r\n");
}

void ShowPlainMessage(const std::string& text)
{
    ShowMessage(MessageKind::Plain, "Selvane Image Resizer", text);
}

void ShowErrorMessage(const std::string& text)
{
    ShowMessage(MessageKind::Error, "Error", text);
}

void ShowWarningMessage(const std::string& text)
{
    ShowMessage(MessageKind::Warning, "Warning", text);
}

void ShowInfoMessage(const std::string& text)
{
    ShowMessage(MessageKind::Info, "Information", text);
}

void OpenWithShell(const std::string& target)
{
    DeliverShellOpen(target);
}

}  // namespace selvane
