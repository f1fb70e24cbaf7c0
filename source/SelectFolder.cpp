#include "source/SelectFolder.h"

#include "platform/CurrentFolder.h"
#include "platform/OsError.h"
#include "source/listing/FolderPaths.h"
#include "source/SelectDirDlg.h"
#include "util/TessaroTPU.h"

#include <QScreen>

namespace selvane {

namespace {

// Puts the process's current folder back when the dialog is gone.
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper() : folder_(StartFolder()) {}
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;
    ~CurrentFolderKeeper()
    {
        try {
            platform::SetCurrentFolder(folder_);
        } catch (const platform::OsError&) {
            // The folder went away meanwhile; staying where the dialog ended is all we can do.
        }
    }

private:
    std::string folder_;
};

}  // namespace

bool SelectFolder(const QString& caption, std::string& folder, SelectFolderOptions options, QWidget* parent)
{
    using enum SelectFolderOption;
    if (options.Empty()) options = {foAllowCreate, foPerformCreate, foPrompt};
    const std::string shown = AddTrailingBackslash(folder);

    const CurrentFolderKeeper keeper;
    TSelectDirDlg dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.SetAllowCreate(options.Contains(foAllowCreate));
    if (FolderExists(shown)) dialog.SetDirectory(shown);
    dialog.SetPrompt(options.Contains(foPrompt));
    if (const QScreen* screen = dialog.screen()) {
        const QRect area = screen->geometry();
        dialog.move(area.x() + area.width() / 2 - dialog.width() / 2,
                    area.y() + area.height() / 2 - dialog.height() / 2);
    }

    if (dialog.exec() != QDialog::Accepted) return false;
    folder = dialog.Directory();
    if (options.Contains(foPerformCreate)) ForceDirectories(folder);
    return true;
}

}  // namespace selvane
