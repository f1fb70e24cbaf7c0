// TFileListBox: a sorted, owner-drawn list of the entries of one folder that match a mask
// of name patterns ("*.jpg;*.png") and a file type.
//
// The list reloads whenever Folder, Mask or FileType really changes, and the process's
// current folder follows its Folder: after every reload and change of folder it is Folder.
// Entering a folder that does not exist, or cannot be entered, throws platform::OsError
// and leaves Folder and the items as they were. ItemText, ItemSelected and SetItemSelected
// throw EListError for an index the list does not hold; ApplyPath throws
// EInvalidFileName for a file part that names no file. Paths and names are UTF-8, exactly
// as the file system spells them.
//
// Owned by its Qt parent; user-interface thread only. A linked file edit or folder tree is
// not owned, and a link is dropped when the other side is destroyed.
#pragma once

#include "source/listing/FileListing.h"
#include "source/NotifyEvent.h"

#include <QListWidget>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;

namespace selvane {

class GlyphItemDelegate;
class TDirectoryListBox;

class TFileListBox : public QListWidget {
    Q_OBJECT

public:
    // Starts in the process's current folder with the mask "*.*" and [ftNormal], single
    // selection, no glyphs, 145 pixels wide, and lists that folder at once.
    explicit TFileListBox(QWidget* parent = nullptr);
    ~TFileListBox() override;

    const std::string& Folder() const { return folder_; }
    // Nothing happens for the same folder (SameFolder); a relative text is taken from
    // Folder. Folder becomes the process's current folder as the system reports it.
    void SetFolder(const std::string& folder);
    const std::string& Mask() const { return mask_; }
    void SetMask(const std::string& mask);
    TFileType FileType() const { return fileType_; }
    void SetFileType(TFileType fileType);

    // With Subfolders, the list holds every file under Folder that the mask and file type
    // admit, by its path relative to Folder ("2024/june/beach.jpg"), folder by folder as
    // ListPictureTree orders them, and no folder entries. SkippedFolder, when set, names
    // for a Folder the folder that is never entered (where the outputs go).
    bool Subfolders() const { return subfolders_; }
    void SetSubfolders(bool subfolders);
    std::function<std::string(const std::string& folder)> SkippedFolder;
    // Raised after a listing with Subfolders that could not read some of them, with each
    // as "path: reason"; the rest is listed.
    std::function<void(const std::vector<std::string>& unreadable)> OnUnreadableFolders;

    bool ShowGlyphs() const { return showGlyphs_; }
    void SetShowGlyphs(bool show);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multi);
    // With MultiSelect, Shift and Ctrl extend the selection with mouse and keys; without
    // it, every click toggles one item.
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool extended);
    int ItemHeight() const;
    void SetItemHeight(int height);

    // An edit kept showing CurrentFileName (or Mask when that is empty), all selected.
    QLineEdit* FileEdit() const;
    void SetFileEdit(QLineEdit* edit);
    // The folder tree that shows this list's folder (set by TDirectoryListBox::SetFileList).
    TDirectoryListBox* DirList() const;

    // Lists Folder again; the selection goes.
    void Reload();

    int ItemCount() const { return count(); }
    std::string ItemText(int index) const;
    bool ItemSelected(int index) const;
    void SetItemSelected(int index, bool selected);
    int SelectedCount() const;
    // The item with the focus rectangle, -1 for none.
    int FocusedIndex() const { return currentRow(); }
    // Every item selected in a MultiSelect list; nothing otherwise.
    void SelectAllItems();

    // The focused item's text when that item is selected, else empty.
    std::string CurrentFileName() const;
    // Moves the focus to the item of exactly that text (none when no item has it); a
    // single-select list selects it too.
    void SetCurrentFileName(const std::string& name);
    // Folder, "/" and CurrentFileName; empty when CurrentFileName is.
    std::string CurrentFilePath() const;

    // Points the list at a path: a folder (with or without trailing "/") becomes Folder, a
    // name with "*" or "?" the Mask, a file's name the focused item. See ListPath.h for
    // how the text is read; relative texts are taken from Folder.
    void ApplyPath(const std::string& text);

    // Remembers the focused index, updates FileEdit and raises OnChange.
    void NotifyChange();

    TNotifyEvent OnChange;
    TNotifyEvent OnDblClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The click handling of the platform's list: a change of focus by the person
    // notifies.
    void Click();

private:
    friend class TDirectoryListBox;

    void SetDirList(TDirectoryListBox* dirList);
    void CheckIndex(int index) const;
    void UpdateSelectionMode();
    void UpdateRowHeight(int height);

    std::string folder_;
    std::string mask_ = "*.*";
    TFileType fileType_{TFileAttr::ftNormal};
    bool subfolders_ = false;
    bool showGlyphs_ = false;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    int lastIndex_ = -1;
    GlyphItemDelegate* delegate_;
    QPointer<QLineEdit> fileEdit_;
    QPointer<TDirectoryListBox> dirList_;
};

}  // namespace selvane
