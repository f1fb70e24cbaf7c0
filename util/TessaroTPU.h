// The shared free functions of the program: file-name parts, file and folder tests, folder
// creation, number formatting, message boxes, opening with the desktop, and the program's
// own place in the system (settings folder, write and administrator tests, version,
// shortcuts, start at log-on).
//
// Paths use "/" as their only separator; a "trailing backslash" is a trailing "/". Text
// positions are 1-based, 0 meaning "not found". Nothing here throws unless its comment says
// so; failures answer with an empty text, false or -1.
#pragma once

#include <cstdint>
#include <string>

namespace selvane {

// --- Text, number, message and file helpers ---

// A folder of that path exists; a path that ends in a space never counts.
bool FolderExists(const std::string& path);
// FolderExists and no file of that name exists.
bool IsFolder(const std::string& path);
// An entry that is not a folder exists at that path.
bool FileExists(const std::string& path);
// FileExists; otherwise a plain message says why ("File "..." does not exist" or
// "No file specified!") and the answer is false.
bool FileExistsMsg(const std::string& path);
// Creates the folder with all missing parents. True when it exists afterwards. An empty
// path throws std::runtime_error("Unable to create directory").
bool ForceDirectories(const std::string& path);
// 0 the folder existed, 1 it was created with its parents, -1 creation failed (after an
// error box "Cannot create directory!" with the path).
std::int8_t CreateFolderMsg(const std::string& path);
// Appends "/" unless the text already ends in one; the empty text stays empty.
std::string AddTrailingBackslash(const std::string& path);
// The file-name part without its last extension ("a.b.c.jpeg" gives "a.b.c"); a name
// without a dot is returned whole.
std::string ExtractOnlyName(const std::string& path);
// The folder part of path, up to and including its last "/"; empty for a bare name.
std::string ExtractFilePath(const std::string& path);
// Position of the last occurrence of sub in text; 0 when none or sub is empty.
int LastPos(const std::string& sub, const std::string& text);
std::string ReverseText(const std::string& text);
// Characters first..last (1-based, both included), cut at the end of the text.
std::string CopyRange(const std::string& text, int first, int last);
// Decimal text with "." whatever the locale, 15 significant digits, cut (never rounded)
// after the given number of decimals: FormatReal(0.999, 2) is "0.99", FormatReal(2, 2) "2".
std::string FormatReal(double value, int decimals);
std::string FormatInteger(std::int32_t value);
// Turns the token "CRLF" (and its spaced forms "CRLF ", " CRLF ") into "\r\n".
std::string ExpandLineBreaks(const std::string& text);
// Modal message boxes through the installed handler; nothing for an empty text.
void ShowPlainMessage(const std::string& text);
void ShowErrorMessage(const std::string& text);
void ShowWarningMessage(const std::string& text);
void ShowInfoMessage(const std::string& text);
// Hands a file, folder or web address to the desktop's default action; failures are silent.
void OpenWithShell(const std::string& target);

// --- System, shell-link and settings-folder helpers ---

// Folder of the running executable, with trailing "/"; empty when it cannot be read.
std::string GetProgramFolder();
// The folder that holds the settings file, created if missing, with trailing "/": the
// program folder for an administrator (effective user id 0) when a probe file
// "WriteAccessTestFile.$$$" can be made there and the program is not installed (its
// folder is not named "bin"), otherwise the configuration folder (26) followed by
// programName; without a configuration folder, the program folder followed by programName,
// or for an installed program the temporary folder followed by programName.
std::string GetSettingsFolder(const std::string& programName);
// Current path of the special folder 26 (configuration), 16 (desktop) or 5 (documents),
// with trailing "/"; empty for any other number or on failure.
std::string GetSpecialFolder(int csidl);
// Always true: the platform is of the multi-user family.
bool IsWindowsNT();
// The process runs with administrator rights (effective user id 0).
bool IsUserAdmin();
// The file can be opened (or created) for reading and writing; for a folder, the probe
// file "WriteAccessTest.DeleteMe" inside it. False at once when the folder part of path
// does not exist. A probe file made here is removed again; an existing file keeps its
// contents.
bool CanWriteTo(const std::string& path);
// The program's version, "1.5.3.56" for this build.
std::string GetProgramVersion();
// Writes the shortcut "<linkName>.desktop" that starts targetPath in the program folder,
// into the desktop folder or, without onDesktop, the applications menu folder (created
// when missing); an existing one is replaced. Failures are silent.
void CreateShortcut(const std::string& linkName, const std::string& targetPath, bool onDesktop);
// CreateShortcut with the running executable as target.
void CreateShortcutToSelf(const std::string& linkName, bool onDesktop);
// Writes or removes the start-at-log-on entry named ExtractOnlyName(executablePath) that
// starts executablePath. A missing entry on removal, or no autostart folder to be had, is
// silent; a failed write throws std::runtime_error "Failed to set data for '<name>'".
void SetStartWithWindows(const std::string& executablePath, bool enable);
// The same for the running executable, under the entry name "SelvaneResizer".
void SetSelfStartWithWindows(bool enable);

}  // namespace selvane
