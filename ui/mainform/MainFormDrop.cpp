// Pictures or a folder dropped on the window: they open as the program's start paths do,
// one folder with the dropped pictures in it selected.
#include "ui/mainform/MainForm.h"

#include "source/listing/FolderPaths.h"
#include "source/listing/PictureFolder.h"
#include "source/PathEdit.h"
#include "ui/ErrorReport.h"
#include "ui/mainform/StartPaths.h"
#include "util/TessaroTPU.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace selvane {

namespace {

std::vector<std::string> LocalPaths(const QMimeData* mime)
{
    std::vector<std::string> paths;
    if (mime == nullptr) return paths;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    return paths;
}

}  // namespace

bool TMainForm::AcceptsDrop(const QMimeData* mime) const
{
    // A batch reads the path edit afresh for every picture, so its source must not change
    // under it.
    return runningJobs_ == 0 && !LocalPaths(mime).empty();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (AcceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event)
{
    if (AcceptsDrop(event->mimeData())) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    if (!AcceptsDrop(event->mimeData())) return;
    event->acceptProposedAction();
    RunReportingErrors([&] { OpenDroppedPaths(LocalPaths(event->mimeData())); });
}

void TMainForm::OpenDroppedPaths(const std::vector<std::string>& paths)
{
    StartPaths start = ReadStartPaths(paths);
    if (!start.elsewhere.empty()) {
        ShowWarningMessage("Only one folder can be processed at a time.");
        return;
    }
    if (!start.folder.empty()) {
        const std::vector<std::string> pictures = ListPictureFiles(start.folder);
        std::erase_if(start.names, [&](const std::string& name) {
            return std::find(pictures.begin(), pictures.end(), start.folder + name) == pictures.end();
        });
        if (start.names.empty() && !start.namedFolder) {
            ShowWarningMessage("None of these files is a picture.");
            return;
        }
        // The list of the folder already shown may be older than the pictures just dropped.
        if (SameFolder(start.folder, edtPath->text().toStdString())) actRefreshExecute();
    }
    OpenStartPaths(start);
}

}  // namespace selvane
