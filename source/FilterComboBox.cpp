#include "source/FilterComboBox.h"

#include "source/FileListBox.h"
#include "source/listing/FilterText.h"
#include "source/listing/NameOrder.h"

namespace selvane {

TFilterComboBox::TFilterComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    BuildEntries();
    connect(this, &QComboBox::activated, this, [this] { Change(); });
}

TFilterComboBox::~TFilterComboBox() = default;

void TFilterComboBox::SetFilter(const std::string& filter)
{
    if (EqualIgnoringCase(filter, filter_)) return;
    filter_ = filter;
    BuildEntries();
    Change();
}

TFileListBox* TFilterComboBox::FileList() const
{
    return fileList_;
}

void TFilterComboBox::SetFileList(TFileListBox* list)
{
    fileList_ = list;
}

std::string TFilterComboBox::CurrentMask()
{
    if (currentIndex() < 0) setCurrentIndex(count() - 1);
    if (currentIndex() < 0) return "*.*";
    return maskTexts_[static_cast<std::size_t>(currentIndex())];
}

void TFilterComboBox::BuildEntries()
{
    clear();
    maskTexts_.clear();
    for (const FilterEntry& entry : ParseFilter(filter_)) {
        addItem(QString::fromStdString(entry.description));
        maskTexts_.push_back(entry.patterns);
    }
    setCurrentIndex(count() > 0 ? 0 : -1);
}

void TFilterComboBox::Change()
{
    if (fileList_) fileList_->SetMask(CurrentMask());
    if (OnChange) OnChange(this);
}

}  // namespace selvane
