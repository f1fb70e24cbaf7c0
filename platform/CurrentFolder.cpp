#include "platform/CurrentFolder.h"

#include "platform/OsError.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace selvane::platform {

std::string GetCurrentFolder()
{
    // getcwd with a null buffer allocates one of the needed size, so deep folders work.
    const std::unique_ptr<char, void (*)(void*)> folder(getcwd(nullptr, 0), std::free);
    if (!folder) throw OsError("cannot read the current folder", ".", errno);
    return folder.get();
}

void SetCurrentFolder(const std::string& folder)
{
    if (chdir(folder.c_str()) != 0) throw OsError("cannot change into", folder, errno);
}

}  // namespace selvane::platform
