// TDirectoryListBox: the folder tree of the folder dialog, a list of rows from "/" down
// to Folder followed by Folder's subfolders, each with its glyph and indent
// (DirectoryItems.h). A double click opens the focused row's folder.
//
// Setting Folder enters the folder (the process's current folder follows the tree),
// rebuilds the rows and runs the change step: a linked file list is pointed at Folder,
// then OnChange is raised. A folder that cannot be entered throws platform::OsError and
// changes nothing; a double click that fails so reports the error through ShowErrorMessage
// instead. Owned by its Qt parent; the linked file list is not owned (the link is dropped
// when it is destroyed). User-interface thread only.
#pragma once

#include "source/NotifyEvent.h"

#include <QListWidget>
#include <QPointer>

#include <string>
#include <vector>

namespace selvane {

class GlyphItemDelegate;
class TFileListBox;

class TDirectoryListBox : public QListWidget {
    Q_OBJECT

public:
    // Starts in the process's current folder. Rows are as high as the font, at least the
    // glyph's height plus 1, and follow font changes until set otherwise.
    explicit TDirectoryListBox(QWidget* parent = nullptr);
    ~TDirectoryListBox() override;

    const std::string& Folder() const { return folder_; }
    // Nothing for an empty text or the same folder (SameFolder). The text is read as the
    // file list reads a path (ListPath.h), relative to Folder.
    void SetFolder(const std::string& folder);
    // The mount point of the drive that holds Folder; setting another one goes to it.
    std::string Drive() const;
    void SetDrive(const std::string& mountPoint);

    TFileListBox* FileList() const;
    // Links the list both ways and points it at Folder.
    void SetFileList(TFileListBox* list);

    int ItemHeight() const;
    void SetItemHeight(int height);
    // The folder that opening row index goes to; empty for a row that does not exist.
    std::string ItemPath(int index) const;

    // Reads the rows again; the current folder's row gets the focus.
    void Rebuild();
    // Points the linked file list at Folder and raises OnChange.
    void Change();
    // Goes to the folder of the focused row.
    void OpenItem();

    TNotifyEvent OnChange;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::string folder_;
    std::vector<std::string> paths_;
    GlyphItemDelegate* delegate_;
    QPointer<TFileListBox> fileList_;
};

}  // namespace selvane
