#include "source/TessaroFileList.h"

#include "util/TessaroTPU.h"

#include <QMouseEvent>

namespace selvane {

TTessaroFileList::TTessaroFileList(QWidget* parent) : TFileListBox(parent) {}

void TTessaroFileList::InvertSelection()
{
    if (ItemCount() == 0) return;
    if (MultiSelect()) {
        // One toggle of the whole range; item by item would cost a selection update each.
        const QItemSelection all(model()->index(0, 0), model()->index(ItemCount() - 1, 0));
        selectionModel()->select(all, QItemSelectionModel::Toggle);
        return;
    }
    for (int index = 0; index < ItemCount(); ++index) SetItemSelected(index, !ItemSelected(index));
}

std::string TTessaroFileList::PreviewFilePath() const
{
    return pointedPath_.empty() ? CurrentFilePath() : pointedPath_;
}

void TTessaroFileList::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex item = indexAt(event->position().toPoint());
    pressedOnItem_ = item.isValid();
    doubleClicked_ = false;
    pointedPath_.clear();
    if (!pressedOnItem_) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        TFileListBox::mousePressEvent(event);
        return;
    }
    selectionModel()->setCurrentIndex(item, QItemSelectionModel::NoUpdate);
    pointedPath_ = AddTrailingBackslash(Folder()) + ItemText(item.row());
    Click();
    event->accept();
}

void TTessaroFileList::mouseDoubleClickEvent(QMouseEvent* event)
{
    TFileListBox::mouseDoubleClickEvent(event);
    doubleClicked_ = true;
}

void TTessaroFileList::mouseReleaseEvent(QMouseEvent* event)
{
    // The view completes a Ctrl-click on a selected item only on release, so the event
    // follows the platform's handling.
    if (event->button() == Qt::LeftButton) TFileListBox::mouseReleaseEvent(event);
    else event->accept();
    const bool raise = pressedOnItem_ && !doubleClicked_;
    pressedOnItem_ = false;
    doubleClicked_ = false;
    if (raise && ItemCount() > 0 && OnSelectChaged) OnSelectChaged(this);
}

}  // namespace selvane
