#include "source/DriveComboBox.h"

#include "source/DriveItems.h"
#include "source/listing/FolderPaths.h"

#include <QPixmap>

namespace selvane {

TDriveComboBox::TDriveComboBox(QWidget* parent, const platform::MountSources& sources)
    : QComboBox(parent), drives_(ListedDrives(sources))
{
    setEditable(false);
    setIconSize(QSize(16, 11));
    for (const platform::Drive& drive : drives_)
        addItem(QIcon(QPixmap::fromImage(Glyph(DriveGlyph(drive.kind)))),
                QString::fromStdString(DriveItemText(drive)), QString::fromStdString(drive.mountPoint));
    drive_ = DriveOf(StartFolder());
    ChooseItemOf(drive_);
    connect(this, &QComboBox::activated, this,
            [this](int index) { SetDrive(itemData(index).toString().toStdString()); });
}

std::string TDriveComboBox::DriveOf(const std::string& path) const
{
    return DriveOfFolder(drives_, path);
}

void TDriveComboBox::SetDrive(const std::string& mountPoint)
{
    ChooseItemOf(mountPoint);
    if (mountPoint == drive_) return;
    drive_ = mountPoint;
    if (OnChange) OnChange(this);
}

void TDriveComboBox::ChooseItemOf(const std::string& mountPoint)
{
    setCurrentIndex(findData(QString::fromStdString(mountPoint)));
}

}  // namespace selvane
