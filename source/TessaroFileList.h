// TTessaroFileList: the main window's file list, a TFileListBox that reports every mouse
// click and can invert its selection.
//
// OnSelectChaged is raised whenever a mouse button (left, right or middle alike) is
// released over a list that holds at least one item, after the list has applied the
// click to its focus and selection; keys and code never raise it. Same ownership and
// threading as TFileListBox.
#pragma once

#include "source/FileListBox.h"

namespace selvane {

using TOnSelChaged = TNotifyEvent;

class TTessaroFileList : public TFileListBox {
    Q_OBJECT

public:
    explicit TTessaroFileList(QWidget* parent = nullptr);

    // Every item's selection becomes its opposite.
    void InvertSelection();

    TOnSelChaged OnSelectChaged;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace selvane
