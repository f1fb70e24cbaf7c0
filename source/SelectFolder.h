// SelectFolder: lets the person choose a folder in the folder dialog (TSelectDirDlg),
// shown modally and centred on the screen, and returns whether they confirmed with OK.
//
// folder comes in as the folder to show (when it exists; otherwise the dialog shows the
// process's current folder) and, on OK, goes out as the chosen folder with a trailing
// "/"; on Cancel it is left as it came. The dialog lives only during the call. The
// process's current folder is put back as it was when the call returns, so that the
// caller's file list keeps standing in its own folder. Nothing is thrown; failures are
// shown to the person by the dialog. User-interface thread only.
#pragma once

#include "source/listing/EnumSet.h"

#include <QString>

#include <string>

class QWidget;

namespace selvane {

enum class SelectFolderOption {
    foAllowCreate,    // the path field, create button and new-folder edit are offered
    foPerformCreate,  // after OK the chosen folder is created with all missing parents
    foPrompt,         // creating a folder, or OK on a missing one, asks first
};
// An empty set counts as all three.
using SelectFolderOptions = EnumSet<SelectFolderOption>;

bool SelectFolder(const QString& caption, std::string& folder, SelectFolderOptions options,
                  QWidget* parent = nullptr);

}  // namespace selvane
