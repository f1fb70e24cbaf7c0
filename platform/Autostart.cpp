#include "platform/Autostart.h"

#include "platform/AtomicFile.h"
#include "platform/DesktopEntry.h"
#include "platform/SpecialFolders.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace selvane::platform {

namespace {

std::string AutostartFolder()
{
    const std::string config = ConfigFolder();
    return config.empty() ? config : config + "/autostart";
}

}  // namespace

bool WriteAutostartEntry(const std::string& name, const std::string& program)
{
    const std::string folder = AutostartFolder();
    if (folder.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    WriteFileAtomically(folder + "/" + name + ".desktop", FormatDesktopEntry({name, program, {}}));
    return true;
}

void RemoveAutostartEntry(const std::string& name)
{
    const std::string folder = AutostartFolder();
    if (!folder.empty()) unlink((folder + "/" + name + ".desktop").c_str());
}

}  // namespace selvane::platform
