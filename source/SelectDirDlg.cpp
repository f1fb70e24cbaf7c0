#include "source/SelectDirDlg.h"

#include "platform/OsError.h"
#include "source/DirectoryListBox.h"
#include "source/DriveComboBox.h"
#include "source/FileListBox.h"
#include "source/Glyphs.h"
#include "source/listing/FolderCreation.h"
#include "source/listing/FolderPaths.h"
#include "source/ShowingErrors.h"
#include "util/TessaroTPU.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QStyle>

#include <algorithm>
#include <filesystem>

namespace selvane {

namespace {

constexpr int kDesktopFolder = 16;
constexpr int kDocumentsFolder = 5;

QPushButton* ShortcutButton(const QString& text, const QString& hint, GlyphId glyph, const char* name)
{
    auto* button = new QPushButton(QIcon(QPixmap::fromImage(Glyph(glyph))), text);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIconSize(QSize(16, 15));
    button->setFixedHeight(21);
    // The designed width, unless the application's style sheet pads buttons so that the
    // caption would be cut.
    int width = 70;
    if (!qApp->styleSheet().isEmpty()) {
        button->ensurePolished();
        width = std::max(width, button->sizeHint().width());
    }
    button->setFixedWidth(width);
    button->setAutoDefault(false);
    return button;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

}  // namespace

TSelectDirDlg::TSelectDirDlg(QWidget* parent) : QDialog(parent)
{
    BuildForm();
    // FormCreate: no network-connection dialog exists here, so btnNetwork stays hidden.
    SetAllowCreate(true);
    DirListChange();
    lblCurFolder->setBuddy(edtDirectory);
    lblDrives->setBuddy(DriveList);
    DirList->setFocus();
}

void TSelectDirDlg::BuildForm()
{
    setWindowTitle("Select folder");
    setFont(QFont("MS Sans Serif", 8));
    resize(659, 436);
    BuildPathPanel();
    BuildFolderPanel();
    BuildFileList();

    Splitter = Named(new QSplitter(Qt::Horizontal), "Splitter");
    Splitter->setHandleWidth(4);
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(pnlDirectory);
    Splitter->addWidget(FileList);
    Splitter->setStretchFactor(0, 1);
    Splitter->setSizes({659 - 4 - 260, 260});

    BuildButtonPanel();

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);
    form->addWidget(pnlTop);
    form->addWidget(Splitter, 1);
    form->addWidget(pnlBottom);
    // Every control keeps the dialog's own font, also under an application style sheet,
    // which would otherwise give them the application's.
    for (QWidget* child : findChildren<QWidget*>()) child->setFont(font());
    // The rows the form was designed with, or taller when the font needs it.
    DirList->SetItemHeight(std::max(17, DirList->fontMetrics().height()));
    FileList->SetItemHeight(std::max(13, FileList->fontMetrics().height()));

    ConnectControls();
}

// The path edit above the lists.
void TSelectDirDlg::BuildPathPanel()
{
    pnlTop = Named(new QWidget, "pnlTop");
    pnlTop->setFixedHeight(37);
    lblCurFolder = Named(new QLabel("Cu&rrent path:"), "lblCurFolder");
    edtDirectory = Named(new QLineEdit, "edtDirectory");
    edtDirectory->setToolTip(
        "Enter a full path to navigate there. If the path does not exist, it will be created.");
    auto* top = new QHBoxLayout(pnlTop);
    top->setContentsMargins(8, 8, 8, 8);
    top->addWidget(lblCurFolder);
    top->addWidget(edtDirectory, 1);
}

// The drive box, the Desktop and My Docs shortcuts and the folder tree.
void TSelectDirDlg::BuildFolderPanel()
{
    pnlDirectory = Named(new QWidget, "pnlDirectory");
    lblDrives = Named(new QLabel("&Drives:"), "lblDrives");
    DriveList = Named(new TDriveComboBox, "DriveList");
    DriveList->setFixedWidth(125);
    BitBtn1 = ShortcutButton("Desktop", "Navigate to 'DESKTOP' folder", GlyphId::Desktop, "BitBtn1");
    BitBtn2 = ShortcutButton("My Docs", "Navigate to 'MY DOCUMENTS' folder", GlyphId::Documents, "BitBtn2");
    DirList = Named(new TDirectoryListBox, "DirList");
    auto* drives = new QHBoxLayout;
    drives->addWidget(lblDrives);
    drives->addWidget(DriveList);
    drives->addWidget(BitBtn1);
    drives->addWidget(BitBtn2);
    drives->addStretch(1);
    auto* left = new QVBoxLayout(pnlDirectory);
    left->setContentsMargins(8, 0, 0, 0);
    left->addLayout(drives);
    left->addWidget(DirList, 1);
}

// The files of the chosen folder, shown grey: they are there to look at, not to pick.
void TSelectDirDlg::BuildFileList()
{
    FileList = Named(new TFileListBox, "FileList");
    FileList->setSelectionMode(QAbstractItemView::NoSelection);
    FileList->setFocusPolicy(Qt::NoFocus);
    // The system's disabled-text grey: the style's own palette, not the application's,
    // which a look may have changed.
    QPalette grey = FileList->palette();
    const QColor disabledText =
        QApplication::style()->standardPalette().color(QPalette::Disabled, QPalette::Text);
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        grey.setColor(group, QPalette::Text, disabledText);
    FileList->setPalette(grey);
    DirList->SetFileList(FileList);
}

// OK, Cancel and the new-folder row.
void TSelectDirDlg::BuildButtonPanel()
{
    pnlBottom = Named(new QWidget, "pnlBottom");
    pnlBottom->setFixedHeight(36);
    OKButton = Named(new QPushButton("OK"), "OKButton");
    OKButton->setDefault(true);
    CancelButton = Named(new QPushButton("Cancel"), "CancelButton");
    btnCreate = Named(new QPushButton("Create folder"), "btnCreate");
    btnCreate->setToolTip("Create new folder");
    edtNewFolder = Named(new QLineEdit("New folder"), "edtNewFolder");
    btnNetwork = Named(new QPushButton("Network"), "btnNetwork");
    btnNetwork->hide();
    auto* bottom = new QHBoxLayout(pnlBottom);
    bottom->setContentsMargins(8, 6, 8, 6);
    bottom->addWidget(OKButton);
    bottom->addWidget(CancelButton);
    bottom->addWidget(btnCreate);
    bottom->addWidget(edtNewFolder);
    bottom->addStretch(1);
    bottom->addWidget(btnNetwork);
}

void TSelectDirDlg::ConnectControls()
{
    DriveList->OnChange = [this](QObject*) { DriveListChange(); };
    DirList->OnChange = [this](QObject*) { DirListChange(); };
    connect(edtDirectory, &QLineEdit::textChanged, this, [this] { edtDirectoryChange(); });
    edtDirectory->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(btnCreate, &QPushButton::clicked, this, [this] { btnCreateClick(); });
}

std::string TSelectDirDlg::Directory() const
{
    return AddTrailingBackslash(DirList->Folder());
}

void TSelectDirDlg::SetDirectory(const std::string& text)
{
    if (text.empty()) return;
    const std::string full = text.front() == '/' ? text : AddTrailingBackslash(StartFolder()) + text;
    const std::string folder =
        WithoutTrailingSeparators(std::filesystem::path(full).lexically_normal().string());
    try {
        DriveList->SetDrive(DriveList->DriveOf(folder));
        DirList->SetFolder(folder);
    } catch (const platform::OsError&) {
        const std::string current = StartFolder();
        DriveList->SetDrive(DriveList->DriveOf(current));
        RunShowingErrors([&] { DirList->SetFolder(current); });
    }
}

void TSelectDirDlg::SetAllowCreate(bool allow)
{
    allowCreate_ = allow;
    btnCreate->setVisible(allow);
    edtNewFolder->setVisible(allow);
    pnlTop->setVisible(allow);
}

bool TSelectDirDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != edtDirectory || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    const std::string text = edtDirectory->text().toStdString();
    // Enter on anything but a missing folder is the dialog's Enter: OK.
    if (!allowCreate_ || !NamesMissingFolder(text)) return false;
    RunShowingErrors([&] { CreateAndEnter(text); });
    return true;
}

void TSelectDirDlg::DriveListChange()
{
    RunShowingErrors([this] { DirList->SetDrive(DriveList->Drive()); });
}

void TSelectDirDlg::DirListChange()
{
    if (followingField_) return;
    edtDirectory->setText(QString::fromStdString(AddTrailingBackslash(DirList->Folder())));
    edtDirectory->selectAll();
}

void TSelectDirDlg::edtDirectoryChange()
{
    const std::string text = edtDirectory->text().toStdString();
    // Only a full path navigates: a relative one would be read from a tree that moves
    // with every keystroke.
    if (text.empty() || text.front() != '/' || !FolderExists(text)) return;
    const QScopedValueRollback following(followingField_, true);
    try {
        DirList->SetFolder(text);
    } catch (const platform::OsError&) {
        // A folder that cannot be entered is simply not shown while the person types.
    }
}

void TSelectDirDlg::OKButtonClick()
{
    RunShowingErrors([this] {
        const std::string field = edtDirectory->text().toStdString();
        if (allowCreate_ && NamesMissingFolder(field)) {
            if (!CreateAndEnter(field)) return;
        } else if (allowCreate_ && prompt_ && !FolderExists(Directory()) && !ConfirmCreate()) {
            return;
        }
        accept();
    });
}

void TSelectDirDlg::BitBtn1Click()
{
    GoToSpecialFolder(kDesktopFolder);
}

void TSelectDirDlg::BitBtn2Click()
{
    GoToSpecialFolder(kDocumentsFolder);
}

void TSelectDirDlg::GoToSpecialFolder(int csidl)
{
    // A folder that is not there is a failed lookup like any other: the tree stays put.
    const std::string folder = GetSpecialFolder(csidl);
    if (folder.empty() || !FolderExists(folder)) return;
    RunShowingErrors([&] { DirList->SetFolder(folder); });
}

void TSelectDirDlg::btnCreateClick()
{
    RunShowingErrors([this] {
        const std::string folder =
            AddTrailingBackslash(DirList->Folder()) + edtNewFolder->text().toStdString();
        if (CreateFolderMsg(folder) < 0) return;
        DirList->Rebuild();
        DirList->Change();
        DirList->SetFolder(folder);
    });
}

bool TSelectDirDlg::CreateAndEnter(const std::string& folder)
{
    if (prompt_ && !ConfirmCreate()) return false;
    if (CreateFolderMsg(folder) < 0) return false;
    DirList->SetFolder(folder);
    return true;
}

bool TSelectDirDlg::ConfirmCreate()
{
    QMessageBox box(QMessageBox::Question, "Confirm", "The specified directory does not exist. Create it?",
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText("&Yes");
    box.button(QMessageBox::No)->setText("&No");
    return box.exec() == QMessageBox::Yes;
}

}  // namespace selvane
