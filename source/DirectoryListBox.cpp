#include "source/DirectoryListBox.h"

#include "platform/CurrentFolder.h"
#include "source/DriveItems.h"
#include "source/FileListBox.h"
#include "source/GlyphItemDelegate.h"
#include "source/listing/DirectoryItems.h"
#include "source/listing/FolderPaths.h"
#include "source/listing/ListPath.h"
#include "source/ShowingErrors.h"
#include "util/TessaroTPU.h"

#include <QEvent>

namespace selvane {

namespace {

int TreeGlyphHeight()
{
    return Glyph(GlyphId::ClosedFolder).height();
}

}  // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent)
    : QListWidget(parent), folder_(StartFolder()), delegate_(new GlyphItemDelegate(this))
{
    delegate_->SetShowGlyphs(true);
    setItemDelegate(delegate_);
    setUniformItemSizes(true);
    setSelectionMode(SingleSelection);
    SetItemHeight(RowHeight(fontMetrics().height(), true, TreeGlyphHeight()));
    Rebuild();
}

TDirectoryListBox::~TDirectoryListBox() = default;

void TDirectoryListBox::SetFolder(const std::string& folder)
{
    if (folder.empty()) return;
    const ListPath parts = SplitListPath(folder, folder_);
    if (SameFolder(parts.folder, folder_)) return;
    if (FolderExists(folder_)) platform::SetCurrentFolder(folder_);
    platform::SetCurrentFolder(parts.folder);
    folder_ = platform::GetCurrentFolder();
    Rebuild();
    Change();
}

std::string TDirectoryListBox::Drive() const
{
    return DriveOfFolder(ListedDrives(), folder_);
}

void TDirectoryListBox::SetDrive(const std::string& mountPoint)
{
    if (mountPoint != Drive()) SetFolder(mountPoint);
}

TFileListBox* TDirectoryListBox::FileList() const
{
    return fileList_;
}

void TDirectoryListBox::SetFileList(TFileListBox* list)
{
    if (fileList_) fileList_->SetDirList(nullptr);
    fileList_ = list;
    if (!list) return;
    list->SetDirList(this);
    list->SetFolder(folder_);
}

int TDirectoryListBox::ItemHeight() const
{
    return delegate_->RowHeight();
}

void TDirectoryListBox::SetItemHeight(int height)
{
    delegate_->SetRowHeight(height);
    scheduleDelayedItemsLayout();
}

void TDirectoryListBox::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        SetItemHeight(RowHeight(fontMetrics().height(), true, TreeGlyphHeight()));
}

std::string TDirectoryListBox::ItemPath(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= paths_.size()) return {};
    return paths_[static_cast<std::size_t>(index)];
}

void TDirectoryListBox::Rebuild()
{
    clear();
    paths_.clear();
    for (const DirectoryItem& row : DirectoryItems(folder_, ListSubfolders(folder_))) {
        auto* item = new QListWidgetItem(QString::fromStdString(row.text));
        item->setData(kNameRole, QByteArray::fromStdString(row.text));
        item->setData(kGlyphRole, static_cast<int>(row.glyph));
        item->setData(kIndentRole, row.indent);
        addItem(item);
        paths_.push_back(row.path);
    }
    setCurrentRow(CurrentItemIndex(folder_));
}

void TDirectoryListBox::Change()
{
    if (fileList_) fileList_->SetFolder(folder_);
    if (OnChange) OnChange(this);
}

void TDirectoryListBox::OpenItem()
{
    const std::string path = ItemPath(currentRow());
    if (!path.empty()) SetFolder(path);
}

void TDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidget::mouseDoubleClickEvent(event);
    RunShowingErrors([this] { OpenItem(); });
}

}  // namespace selvane
