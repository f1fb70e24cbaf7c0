// TFilterComboBox: a drop-down list of file-type entries whose choice sets the Mask of a
// linked file list. Its Filter text holds pairs of a description (shown) and its patterns
// (FilterText.h). The person picks an entry; there is no free typing.
//
// Choosing an entry, and setting a new Filter, run the change step: the linked list's
// Mask becomes CurrentMask (which may throw what the list's reload throws), then OnChange
// is raised. Owned by its Qt parent; the linked list is not owned, and the link is
// dropped when the list is destroyed. User-interface thread only.
#pragma once

#include "source/NotifyEvent.h"

#include <QComboBox>
#include <QPointer>

#include <string>
#include <vector>

namespace selvane {

class TFileListBox;

class TFilterComboBox : public QComboBox {
    Q_OBJECT

public:
    // Starts with the Filter "All files (*.*)|*.*" and its entry chosen.
    explicit TFilterComboBox(QWidget* parent = nullptr);
    ~TFilterComboBox() override;

    const std::string& Filter() const { return filter_; }
    // Nothing happens for the same text without regard to case; otherwise the entries are
    // rebuilt, the first is chosen and the change step runs.
    void SetFilter(const std::string& filter);

    TFileListBox* FileList() const;
    void SetFileList(TFileListBox* list);

    // The patterns of each entry.
    const std::vector<std::string>& MaskTexts() const { return maskTexts_; }
    // The chosen entry's patterns; with no entry chosen the last one is chosen first, and
    // with no entries at all the answer is "*.*".
    std::string CurrentMask();

    TNotifyEvent OnChange;

private:
    void BuildEntries();
    void Change();

    std::string filter_ = "All files (*.*)|*.*";
    std::vector<std::string> maskTexts_;
    QPointer<TFileListBox> fileList_;
};

}  // namespace selvane
