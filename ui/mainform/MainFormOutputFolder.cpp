// Where the resized pictures go: a folder of the person's choice, or, left empty, the
// "Output" folder inside the pictures' own folder.
#include "ui/mainform/MainForm.h"

#include "source/PathEdit.h"
#include "source/SelectFolder.h"
#include "ui/ErrorReport.h"
#include "ui/widgets/WidgetLook.h"
#include "util/TessaroTPU.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace selvane {

namespace {

constexpr const char* kOutFolderHint =
    "The folder where the resized pictures are saved. It is created when it does not exist.\r\n"
    "Leave it empty to save them in the \"Output\" folder inside the folder of the pictures.";

}  // namespace

void TMainForm::BuildOutputFolderGroup(const QRect& geometry)
{
    grpOutFolder = MakeGroupBox("Save the resized pictures in:", tabResizer, geometry);
    SetHint(grpOutFolder, kOutFolderHint);
    edtOutFolder = new QLineEdit(grpOutFolder);
    edtOutFolder->setGeometry(8, 22, geometry.width() - 16, 22);
    edtOutFolder->setPlaceholderText(QStringLiteral("Output"));
    SetHint(edtOutFolder, kOutFolderHint);
    btnOutFolder = new QPushButton(QStringLiteral("Browse"), grpOutFolder);
    // As wide as its caption needs in the look of the moment, at the group's right edge.
    const int buttonWidth = std::max(70, btnOutFolder->sizeHint().width());
    btnOutFolder->setGeometry(geometry.width() - 8 - buttonWidth, 50, buttonWidth, 25);
    SetHint(btnOutFolder, kOutFolderHint);
    connect(btnOutFolder, &QPushButton::clicked, this, Reporting(this, &TMainForm::btnOutFolderClick));
    connect(edtOutFolder, &QLineEdit::editingFinished, this,
            Reporting(this, &TMainForm::OutputFolderChanged));
}

void TMainForm::btnOutFolderClick()
{
    std::string folder = edtOutFolder->text().isEmpty() ? edtPath->text().toStdString() : OutputFolder();
    if (!SelectFolder(QStringLiteral("Browse for the output folder"), folder,
                      {SelectFolderOption::foAllowCreate}, this))
        return;
    edtOutFolder->setText(QString::fromStdString(folder));
    OutputFolderChanged();
}

std::string TMainForm::OutputFolder() const
{
    return OutputFolderOf(edtPath->text().toStdString());
}

std::string TMainForm::OutputFolderOf(const std::string& sourceFolder) const
{
    const std::string source = AddTrailingBackslash(sourceFolder);
    const std::string chosen = edtOutFolder->text().toStdString();
    if (chosen.empty()) return source + "Output/";
    // A folder typed without its full path is one inside the pictures' folder, not inside
    // whatever the current folder happens to be.
    return AddTrailingBackslash(chosen.front() == '/' ? chosen : source + chosen);
}

}  // namespace selvane
