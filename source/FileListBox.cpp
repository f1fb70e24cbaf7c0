#include "source/FileListBox.h"

#include "platform/CurrentFolder.h"
#include "source/DirectoryListBox.h"
#include "source/GlyphItemDelegate.h"
#include "source/listing/FolderPaths.h"
#include "source/listing/ListPath.h"
#include "source/listing/PictureTree.h"
#include "source/SourceErrors.h"
#include "util/TessaroTPU.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>

namespace selvane {

namespace {

// From this item index on, a reload shows the busy cursor.
constexpr std::size_t kBusyFromIndex = 100;

GlyphId GlyphFor(ListGlyph glyph)
{
    switch (glyph) {
    case ListGlyph::Executable: return GlyphId::Executable;
    case ListGlyph::ClosedFolder: return GlyphId::ClosedFolder;
    case ListGlyph::UnknownFile: break;
    }
    return GlyphId::UnknownFile;
}

int ListGlyphHeight()
{
    return Glyph(GlyphId::UnknownFile).height();
}

// Shows the busy cursor from the moment Start is called until the guard ends.
class BusyCursor {
public:
    BusyCursor() = default;
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor()
    {
        if (shown_) QGuiApplication::restoreOverrideCursor();
    }
    void Start()
    {
        if (shown_) return;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        shown_ = true;
    }

private:
    bool shown_ = false;
};

// The files under folder that the mask and the file type admit, by their paths relative
// to it, with the subfolders that could not be read.
std::vector<ListItem> ListFileTree(const std::string& folder, const std::string& skipFolder,
                                   const std::string& mask, TFileType fileType,
                                   const std::function<void(std::size_t index)>& added,
                                   std::vector<std::string>& unreadable)
{
    std::size_t count = 0;
    PictureTree tree = ListPictureTree(folder, skipFolder, [&](const std::string& subfolder) {
        std::vector<std::string> names;
        for (const ListItem& item : ListFolder(subfolder, mask, fileType)) {
            if (item.glyph == ListGlyph::ClosedFolder) continue;
            names.push_back(item.text);
            added(count++);
        }
        return names;
    });
    unreadable = std::move(tree.unreadable);
    std::vector<ListItem> items;
    items.reserve(tree.pictures.size());
    for (std::string& path : tree.pictures) {
        const ListGlyph glyph = FileGlyph(path);
        items.push_back({std::move(path), glyph});
    }
    return items;
}

}  // namespace

TFileListBox::TFileListBox(QWidget* parent)
    : QListWidget(parent), folder_(StartFolder()), delegate_(new GlyphItemDelegate(this))
{
    setItemDelegate(delegate_);
    setUniformItemSizes(true);
    UpdateSelectionMode();
    UpdateRowHeight(fontMetrics().height());
    resize(145, height());
    Reload();
}

TFileListBox::~TFileListBox() = default;

QLineEdit* TFileListBox::FileEdit() const
{
    return fileEdit_;
}

void TFileListBox::SetFileEdit(QLineEdit* edit)
{
    fileEdit_ = edit;
}

TDirectoryListBox* TFileListBox::DirList() const
{
    return dirList_;
}

void TFileListBox::SetDirList(TDirectoryListBox* dirList)
{
    dirList_ = dirList;
}

void TFileListBox::SetFolder(const std::string& folder)
{
    if (SameFolder(folder, folder_)) return;
    // A relative text is meant from the list's folder, wherever the process stands now.
    if (FolderExists(folder_)) platform::SetCurrentFolder(folder_);
    platform::SetCurrentFolder(folder);
    folder_ = platform::GetCurrentFolder();
    Reload();
}

void TFileListBox::SetMask(const std::string& mask)
{
    if (mask == mask_) return;
    mask_ = mask;
    Reload();
}

void TFileListBox::SetFileType(TFileType fileType)
{
    if (fileType == fileType_) return;
    fileType_ = fileType;
    Reload();
}

void TFileListBox::SetSubfolders(bool subfolders)
{
    if (subfolders == subfolders_) return;
    subfolders_ = subfolders;
    Reload();
}

void TFileListBox::SetShowGlyphs(bool show)
{
    showGlyphs_ = show;
    delegate_->SetShowGlyphs(show);
    if (show && ItemHeight() < ListGlyphHeight() + 1) SetItemHeight(ListGlyphHeight() + 1);
    viewport()->update();
}

void TFileListBox::SetMultiSelect(bool multi)
{
    multiSelect_ = multi;
    UpdateSelectionMode();
}

void TFileListBox::SetExtendedSelect(bool extended)
{
    extendedSelect_ = extended;
    UpdateSelectionMode();
}

void TFileListBox::UpdateSelectionMode()
{
    setSelectionMode(!multiSelect_ ? SingleSelection : extendedSelect_ ? ExtendedSelection : MultiSelection);
}

int TFileListBox::ItemHeight() const
{
    return delegate_->RowHeight();
}

void TFileListBox::SetItemHeight(int height)
{
    delegate_->SetRowHeight(height);
    scheduleDelayedItemsLayout();
}

void TFileListBox::UpdateRowHeight(int fontHeight)
{
    SetItemHeight(RowHeight(fontHeight, showGlyphs_, ListGlyphHeight()));
}

void TFileListBox::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) UpdateRowHeight(fontMetrics().height());
}

void TFileListBox::Reload()
{
    platform::SetCurrentFolder(folder_);
    clear();
    std::vector<std::string> unreadable;
    {
        BusyCursor busy;
        const auto added = [&busy](std::size_t index) {
            if (index == kBusyFromIndex) busy.Start();
        };
        const std::vector<ListItem> items =
            subfolders_ ? ListFileTree(folder_, SkippedFolder ? SkippedFolder(folder_) : std::string(), mask_,
                                       fileType_, added, unreadable)
                        : ListFolder(folder_, mask_, fileType_, added);
        for (const ListItem& entry : items) {
            auto* item = new QListWidgetItem(QString::fromStdString(entry.text));
            item->setData(kNameRole, QByteArray::fromStdString(entry.text));
            item->setData(kGlyphRole, static_cast<int>(GlyphFor(entry.glyph)));
            item->setData(kIndentRole, 2);
            addItem(item);
        }
    }
    NotifyChange();
    if (!unreadable.empty() && OnUnreadableFolders) OnUnreadableFolders(unreadable);
}

void TFileListBox::CheckIndex(int index) const
{
    if (index < 0 || index >= count()) throw EListError(index);
}

std::string TFileListBox::ItemText(int index) const
{
    CheckIndex(index);
    return item(index)->data(kNameRole).toByteArray().toStdString();
}

bool TFileListBox::ItemSelected(int index) const
{
    CheckIndex(index);
    return item(index)->isSelected();
}

void TFileListBox::SetItemSelected(int index, bool selected)
{
    CheckIndex(index);
    if (multiSelect_) item(index)->setSelected(selected);
    else if (selected) setCurrentRow(index);
    else if (item(index)->isSelected()) clearSelection();
}

int TFileListBox::SelectedCount() const
{
    return static_cast<int>(selectionModel()->selectedIndexes().size());
}

void TFileListBox::SelectAllItems()
{
    if (multiSelect_) selectAll();
}

std::string TFileListBox::CurrentFileName() const
{
    const int focused = FocusedIndex();
    if (focused < 0 || !item(focused)->isSelected()) return {};
    return ItemText(focused);
}

void TFileListBox::SetCurrentFileName(const std::string& name)
{
    if (name == CurrentFileName()) return;
    int found = -1;
    for (int index = 0; index < count() && found < 0; ++index)
        if (ItemText(index) == name) found = index;
    const QModelIndex target = found >= 0 ? model()->index(found, 0) : QModelIndex();
    selectionModel()->setCurrentIndex(target, multiSelect_ ? QItemSelectionModel::NoUpdate
                                                           : QItemSelectionModel::ClearAndSelect);
    NotifyChange();
}

std::string TFileListBox::CurrentFilePath() const
{
    const std::string name = CurrentFileName();
    return name.empty() ? std::string() : AddTrailingBackslash(folder_) + name;
}

void TFileListBox::ApplyPath(const std::string& text)
{
    if (text.empty() || text == CurrentFilePath()) return;
    const ListPath parts = SplitListPath(text, folder_);
    if (dirList_) dirList_->SetFolder(text);
    else SetFolder(parts.folder);

    if (parts.pattern) {
        SetMask(parts.file);
    } else if (!parts.file.empty()) {
        SetCurrentFileName(parts.file);
        if (!FileExists(AddTrailingBackslash(folder_) + parts.file)) throw EInvalidFileName(text);
        if (CurrentFileName().empty()) {
            SetMask(parts.file);
            SetCurrentFileName(parts.file);
        }
    }
}

void TFileListBox::NotifyChange()
{
    lastIndex_ = FocusedIndex();
    if (fileEdit_) {
        const std::string name = CurrentFileName();
        fileEdit_->setText(QString::fromStdString(name.empty() ? mask_ : name));
        fileEdit_->selectAll();
    }
    if (OnChange) OnChange(this);
}

void TFileListBox::Click()
{
    if (FocusedIndex() != lastIndex_) NotifyChange();
}

void TFileListBox::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    Click();
}

void TFileListBox::keyPressEvent(QKeyEvent* event)
{
    QListWidget::keyPressEvent(event);
    Click();
}

void TFileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (OnDblClick) OnDblClick(this);
}

}  // namespace selvane
