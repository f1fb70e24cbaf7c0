// The system half of the utility unit: the program's place in the system (settings folder,
// write and administrator tests, version, shortcuts, start at log-on). The text, number,
// message and file helpers are in TessaroTPU.cpp.
#include "util/TessaroTPU.h"

#include "platform/Administrator.h"
#include "platform/Autostart.h"
#include "platform/DesktopShortcut.h"
#include "platform/OsError.h"
#include "platform/ProgramPath.h"
#include "platform/ProgramVersion.h"
#include "platform/SpecialFolders.h"
#include "platform/TempFolder.h"
#include "platform/WriteProbe.h"

#include <stdexcept>

namespace selvane {

namespace {

// The start-at-log-on entry keeps the name the program has always registered under,
// whatever its file is called here.
constexpr const char* kStartEntryName = "SelvaneResizer";

std::string FolderPart(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A program in the bin folder of a prefix (/usr/bin, /usr/local/bin, /opt/<name>/bin) has
// been installed there; one that runs where it was built or unpacked has not.
bool IsInstalledProgramFolder(const std::string& programFolder)
{
    return programFolder.ends_with("/bin/");
}

void SetStartEntry(const std::string& name, const std::string& executablePath, bool enable)
{
    if (!enable) {
        platform::RemoveAutostartEntry(name);
        return;
    }
    // No autostart folder to be had is as silent as a Run key that cannot be opened; only
    // the write of the entry itself reports.
    try {
        platform::WriteAutostartEntry(name, executablePath);
    } catch (const platform::OsError&) {
        throw std::runtime_error("Failed to set data for '" + name + "'");
    }
}

}  // namespace

std::string GetProgramFolder()
{
    return FolderPart(platform::ProgramPath());
}

std::string GetSettingsFolder(const std::string& programName)
{
    // The platform is always of the multi-user kind, so the rule starts at the
    // administrator test. An installed program shares its folder with every other program
    // and user, so even an administrator keeps the settings in the configuration folder.
    const std::string programFolder = GetProgramFolder();
    const bool installed = IsInstalledProgramFolder(programFolder);
    std::string folder;
    if (!installed && IsUserAdmin() && CanWriteTo(programFolder + "WriteAccessTestFile.$$$")) {
        folder = programFolder;
    } else {
        // Without a configuration folder the name is taken against the program folder (the
        // current folder follows the picture list and would scatter settings files), or for
        // an installed program against the temporary folder.
        std::string base = GetSpecialFolder(26);
        if (base.empty()) base = installed ? platform::GetTempFolder() : programFolder;
        folder = base + programName;
    }
    folder = AddTrailingBackslash(folder);
    if (!FolderExists(folder)) ForceDirectories(folder);
    return folder;
}

std::string GetSpecialFolder(int csidl)
{
    switch (csidl) {
    case 26: return AddTrailingBackslash(platform::ConfigFolder());
    case 16: return AddTrailingBackslash(platform::DesktopFolder());
    case 5: return AddTrailingBackslash(platform::DocumentsFolder());
    default: return {};
    }
}

bool IsWindowsNT()
{
    return true;
}

bool IsUserAdmin()
{
    return platform::IsAdministrator();
}

bool CanWriteTo(const std::string& path)
{
    if (!FolderExists(FolderPart(path))) return false;
    const std::string probe = IsFolder(path) ? AddTrailingBackslash(path) + "WriteAccessTest.DeleteMe" : path;
    return platform::ProbeWriteAccess(probe);
}

std::string GetProgramVersion()
{
    return platform::ProgramVersion();
}

void CreateShortcut(const std::string& linkName, const std::string& targetPath, bool onDesktop)
{
    std::string folder;
    if (onDesktop) {
        folder = GetSpecialFolder(16);
    } else {
        folder = AddTrailingBackslash(platform::ApplicationsFolder());
        if (!folder.empty()) ForceDirectories(folder);
    }
    if (folder.empty()) return;
    // Like the saving of a shell link, a shortcut that cannot be written is no error.
    try {
        platform::WriteDesktopShortcut(folder, linkName, targetPath, GetProgramFolder());
    } catch (const platform::OsError&) {}
}

void CreateShortcutToSelf(const std::string& linkName, bool onDesktop)
{
    CreateShortcut(linkName, platform::ProgramPath(), onDesktop);
}

void SetStartWithWindows(const std::string& executablePath, bool enable)
{
    SetStartEntry(ExtractOnlyName(executablePath), executablePath, enable);
}

void SetSelfStartWithWindows(bool enable)
{
    SetStartEntry(kStartEntryName, platform::ProgramPath(), enable);
}

}  // namespace selvane
