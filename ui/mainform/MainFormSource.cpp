// The source folder and the preview: the path edit drives the file list, a click in the
// list previews the focused file, and the list's three commands.
#include "ui/mainform/MainForm.h"

#include "engine/codec/PictureLoader.h"
#include "engine/job/PhotoHandling.h"
#include "source/PathEdit.h"
#include "source/SelectFolder.h"
#include "source/TessaroFileList.h"
#include "ui/ErrorReport.h"
#include "ui/mainform/CompareFiltersWindow.h"
#include "ui/mainform/StartPaths.h"
#include "ui/RasterImage.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/WidgetLook.h"
#include "ui/widgets/WindowColors.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>

#include <algorithm>
#include <new>

namespace selvane {

void TMainForm::ConnectSource()
{
    edtPath->OnChange = [this](QObject*) { RunReportingErrors([this] { edtPath2Change(); }); };
    FileList->OnSelectChaged = [this](QObject*) { RunReportingErrors([this] { FileListSelectChaged(); }); };
    connect(btnBrowse, &QPushButton::clicked, this, Reporting(this, &TMainForm::btnBrowseClick));
    connect(actRefresh, &QAction::triggered, this, Reporting(this, &TMainForm::actRefreshExecute));
    connect(btnInvert, &QPushButton::clicked, this, Reporting(this, &TMainForm::btnInvertClick));
    connect(actSellAll, &QAction::triggered, this, Reporting(this, &TMainForm::actSellAllExecute));
    connect(chkSubfolders, &QCheckBox::clicked, this, Reporting(this, &TMainForm::chkSubfoldersClick));
    // A tree never takes in the outputs of a batch, earlier ones included.
    FileList->SkippedFolder = [this](const std::string& folder) {
        listedOutputFolder_ = OutputFolderOf(folder);
        return listedOutputFolder_;
    };
    FileList->OnUnreadableFolders = [this](const std::vector<std::string>& unreadable) {
        RemoveGreeting();
        for (const std::string& reason : unreadable)
            AppendLog(std::string("WARNING! Cannot read folder ").append(reason));
    };
}

void TMainForm::edtPath2Change()
{
    const std::string text = edtPath->text().toStdString();
    SetBackground(edtPath,
                  StoredColor(FolderExists(text) ? colors::kExistingFolder : colors::kMissingFolder));

    const std::string withSeparator = AddTrailingBackslash(text);
    if (withSeparator != text) {
        // Setting the text runs this handler again, nested, on the new text. The caret
        // stays where the person was typing, before the added separator, so that typing a
        // path character by character goes on inside it.
        const int caret = edtPath->cursorPosition();
        edtPath->setText(QString::fromStdString(withSeparator));
        edtPath->setCursorPosition(std::min<int>(caret, static_cast<int>(edtPath->text().size()) - 1));
    }

    const std::string folder = edtPath->text().toStdString();
    if (FolderExists(folder)) FileList->ApplyPath(folder);
}

void TMainForm::btnBrowseClick()
{
    std::string folder = edtPath->text().toStdString();
    if (SelectFolder(QStringLiteral("Browse for images"), folder, {SelectFolderOption::foAllowCreate}, this))
        edtPath->setText(QString::fromStdString(folder));
}

void TMainForm::FileListSelectChaged()
{
    imgLoader->SetFitToBox(true);
    const std::string path = FileList->PreviewFilePath();
    previewedSize_ = QSize();
    try {
        // Turned and converted as the batch would, so the preview shows what will be resized.
        const QImage picture = RasterToImage(LoadPictureAsSeen(path, CurrentJobOptions()));
        ShowPicture(picture, false);
        previewedSize_ = picture.size();
        SetStatusText(QString::fromStdString("Current image: " + path));
    } catch (const DecodeError&) {
        SetStatusText(QString::fromStdString("Cannot load image: " + path));
    } catch (const std::bad_alloc&) {
        SetStatusText(QString::fromStdString("Cannot load image: " + path));
    }
    ShowPictureSize();
    // An open comparison shows the picture just clicked, at the same place.
    if (CompareWindow && CompareWindow->isVisible()) ShowComparison(false);
    AbortRequested = false;
    actStart->setEnabled(true);
}

void TMainForm::OpenStartPaths(const StartPaths& paths)
{
    if (!paths.missing.empty()) {
        std::string text;
        for (const std::string& path : paths.missing) {
            if (!text.empty()) text += '\n';
            text += "Cannot open \"";
            text += path;
            text += "\": no such file or folder.";
        }
        ShowWarningMessage(text);
    }
    if (paths.folder.empty()) return;
    edtPath->setText(QString::fromStdString(paths.folder));
    if (FileList->ItemCount() == 0) return;
    // A folder alone starts as a start in that folder does: on its first picture.
    const auto chosen = [&](const std::string& name) {
        return paths.names.empty()
                   ? name == FileList->ItemText(0)
                   : std::find(paths.names.begin(), paths.names.end(), name) != paths.names.end();
    };
    for (int row = 0; row < FileList->ItemCount(); ++row)
        FileList->SetItemSelected(row, chosen(FileList->ItemText(row)));
    FileList->SetCurrentFileName(paths.names.empty() ? FileList->ItemText(0) : paths.names.front());
}

void TMainForm::chkSubfoldersClick()
{
    FileList->SetSubfolders(chkSubfolders->isChecked());
}

void TMainForm::OutputFolderChanged()
{
    if (FileList->Subfolders() && OutputFolder() != listedOutputFolder_) FileList->Reload();
}

void TMainForm::actRefreshExecute()
{
    FileList->Reload();
}

void TMainForm::btnInvertClick()
{
    FileList->InvertSelection();
}

void TMainForm::actSellAllExecute()
{
    FileList->SelectAllItems();
}

}  // namespace selvane
