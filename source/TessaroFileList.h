// TTessaroFileList: the main window's file list, a TFileListBox that reports every mouse
// click and can invert its selection.
//
// OnSelectChaged is raised when a mouse button is released after a click on an item,
// once the list has applied the click: a left click to the focus and the selection, a
// right or middle click to the focus alone (the selection stays, as in the desktop's
// lists). A click on no item changes nothing and raises nothing, and neither does the
// release that ends a double-click; keys and code never raise it. Same ownership and
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

    // The picture the last click asks to preview: the item a right or middle click was on,
    // otherwise CurrentFilePath.
    std::string PreviewFilePath() const;

    TOnSelChaged OnSelectChaged;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressedOnItem_ = false;
    bool doubleClicked_ = false;
    std::string pointedPath_;
};

}  // namespace selvane
