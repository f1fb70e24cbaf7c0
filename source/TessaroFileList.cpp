#include "source/TessaroFileList.h"

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

void TTessaroFileList::mouseReleaseEvent(QMouseEvent* event)
{
    // The view completes a Ctrl-click on a selected item only on release, so the event
    // follows the platform's handling.
    TFileListBox::mouseReleaseEvent(event);
    if (ItemCount() > 0 && OnSelectChaged) OnSelectChaged(this);
}

}  // namespace selvane
