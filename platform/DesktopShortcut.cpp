#include "platform/DesktopShortcut.h"

#include "platform/AtomicFile.h"
#include "platform/DesktopEntry.h"
#include "platform/OsError.h"

#include <cerrno>
#include <sys/stat.h>

namespace selvane::platform {

void WriteDesktopShortcut(const std::string& folder, const std::string& linkName, const std::string& target,
                          const std::string& workingFolder)
{
    const std::string path =
        (folder.empty() || folder.back() != '/' ? folder + "/" : folder) + linkName + ".desktop";
    AtomicFileWriter writer(path);
    const std::string text = FormatDesktopEntry({linkName, target, workingFolder});
    writer.Write(text.data(), text.size());
    // Set on the temporary file, so the shortcut is never seen without its mode.
    if (fchmod(fileno(writer.Stream()), 0755) != 0) throw OsError("cannot write", path, errno);
    writer.Commit();
}

}  // namespace selvane::platform
