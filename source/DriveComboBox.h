// TDriveComboBox: a drop-down list of the drives (mounts) a person would pick, each with
// its kind's glyph and text (DriveItems.h). Drive is the chosen drive's mount point.
//
// Choosing an entry sets Drive; setting Drive to another mount point chooses its entry
// and raises OnChange. The mount table is read once, when the box is made; nothing is
// thrown. Owned by its Qt parent; user-interface thread only.
#pragma once

#include "platform/Drives.h"
#include "source/NotifyEvent.h"

#include <QComboBox>

#include <string>
#include <vector>

namespace selvane {

class TDriveComboBox : public QComboBox {
    Q_OBJECT

public:
    // Lists the drives and chooses the one that holds the process's current folder.
    explicit TDriveComboBox(QWidget* parent = nullptr, const platform::MountSources& sources = {});

    const std::string& Drive() const { return drive_; }
    void SetDrive(const std::string& mountPoint);
    // The listed drive that holds path ("/" when none does).
    std::string DriveOf(const std::string& path) const;

    TNotifyEvent OnChange;

private:
    void ChooseItemOf(const std::string& mountPoint);

    std::vector<platform::Drive> drives_;
    std::string drive_;
};

}  // namespace selvane
