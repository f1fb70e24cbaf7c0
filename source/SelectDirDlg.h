// TSelectDirDlg: the folder dialog. A drive box, a folder tree with "Desktop" and
// "My Docs" shortcuts, a path field, a grey read-only list of the shown folder's files,
// a button and edit to create a subfolder, OK and Cancel. Directory is the tree's folder
// with a trailing "/".
//
// With AllowCreate on (the default after creation), the path field, the create button and
// the new-folder edit are shown. Typing a full path in the field moves the tree to it as
// soon as it names an existing folder; a missing folder is created (with its parents)
// only when the person confirms it: Enter in the field creates it and moves the tree into
// it, OK creates it and closes. With Prompt on, the person is asked first ("The specified
// directory does not exist. Create it?"). Other texts create nothing and report nothing.
//
// The tree and the file list change the process's current folder as they move. Errors of
// the person's actions (a folder that cannot be entered or created) are shown in error
// boxes through ShowErrorMessage; nothing is thrown to the caller. Owned by its Qt
// parent, or by the caller (see SelectFolder); user-interface thread only.
#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;

namespace selvane {

class TDirectoryListBox;
class TDriveComboBox;
class TFileListBox;

class TSelectDirDlg : public QDialog {
    Q_OBJECT

public:
    // Builds the form: caption "Select folder", 659 x 436, the tree in the process's
    // current folder and focused, AllowCreate on, Prompt off.
    explicit TSelectDirDlg(QWidget* parent = nullptr);

    std::string Directory() const;
    // Moves the drive box and the tree to the folder that the text names (relative texts
    // from the current folder); when it cannot be entered, to the current folder instead.
    // An empty text changes nothing.
    void SetDirectory(const std::string& text);
    bool AllowCreate() const { return allowCreate_; }
    void SetAllowCreate(bool allow);
    bool Prompt() const { return prompt_; }
    void SetPrompt(bool prompt) { prompt_ = prompt; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildForm();
    void BuildPathPanel();
    void BuildFolderPanel();
    void BuildFileList();
    void BuildButtonPanel();
    void ConnectControls();
    void DriveListChange();
    void DirListChange();
    void edtDirectoryChange();
    void OKButtonClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void btnCreateClick();
    void GoToSpecialFolder(int csidl);
    // Creates the folder (after the question when Prompt is on) and moves the tree into
    // it; false when the person declined or it could not be created.
    bool CreateAndEnter(const std::string& folder);
    bool ConfirmCreate();

    QWidget* pnlTop;
    QLabel* lblCurFolder;
    QLineEdit* edtDirectory;
    QWidget* pnlDirectory;
    QLabel* lblDrives;
    TDriveComboBox* DriveList;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    TDirectoryListBox* DirList;
    QSplitter* Splitter;
    TFileListBox* FileList;
    QWidget* pnlBottom;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    QPushButton* btnCreate;
    QLineEdit* edtNewFolder;
    QPushButton* btnNetwork;

    bool allowCreate_ = false;
    bool prompt_ = false;
    // Set while the path field moves the tree, so that the tree's change does not rewrite
    // what the person is typing.
    bool followingField_ = false;
};

}  // namespace selvane
