// TMainForm: the program's main window and the owner of every control, command and
// component of the run. The controls are the one home of the options while the program
// runs: a job reads them when it starts, the settings store copies them to and from the
// settings file under their own names.
//
// Life of a window: the constructor builds every control at its design value and runs
// FormCreate; the program then calls InitMainWindow once (settings, first-run shortcut,
// automatic update check, first file) before the window is first shown. The settings are
// saved once per run, by the first of the close, the destruction and the end of the
// desktop session. A close that arrives while a batch runs stops the batch after the
// current picture and closes afterwards.
//
// Handlers may run nested wherever window messages are let through (between the files of a
// batch, during an update transfer, inside modal boxes); each is safe there. Errors that
// leave a handler go to the top-level error handler (ui/ErrorReport.h). User-interface
// thread only.
#pragma once

#include "engine/codec/OutputFormat.h"
#include "engine/job/BatchJob.h"
#include "engine/job/OutputRegion.h"
#include "engine/job/SizeRules.h"
#include "ui/Skin.h"
#include "ui/TaskBarProgress.h"
#include "update/SiteAddresses.h"
#include "update/WebUpdate.h"

#include <QMainWindow>
#include <QPointF>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QImage;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSplitter;
class QStatusBar;
class QTabWidget;

namespace selvane {

class TCompareFiltersWindow;
class TFilterComboBox;
class THintWatcher;
class TInternetLabel;
class TPathEdit;
class TPreviewImage;
class TSelectionSlider;
class TSpinField;
class TStatusLine;
class TTessaroFileList;
class TTrayIcon;
struct StartPaths;

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // programPageUrl: the program's page on the maker's site, which the link label opens
    // and the update component reads.
    explicit TMainForm(std::string programPageUrl = std::string(kProgramPageUrl));
    ~TMainForm() override;

    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // --- Start-up and shut-down ---
    void InitMainWindow();
    void LoadSettings();
    void SaveSettings();
    void SaveSettingsOnce();
    void actExitExecute();
    // The desktop session ends: save, then close as the user would.
    void EndSession();
    // The window has been closed for good (it may never have been shown).
    bool IsClosed() const { return closed_; }

    // --- Batch runner and job log ---
    void actStartExecute();
    void actAbortExecute();
    void FileListDblClick();
    void btnResultClick();
    // Puts the command line that resizes the selected pictures as Start would on the
    // clipboard.
    void actCopyCommandExecute();
    void btnOutFolderClick();
    void trkQualityChange();
    void AppendLog(const std::string& line);
    // The options of the moment, as a job reads them.
    JobOptions CurrentJobOptions() const;

    // --- Size rule ---
    void ResizeTypeChanged();
    void spnZecimalChange();
    void btn43Click();
    // Under the preview: the clicked picture's size and the size the rule gives it.
    void ShowPictureSize();
    // A rule button or field has changed: the size under the preview and an open
    // comparison follow it.
    void SizeRuleValuesChanged();

    // --- Source folder and preview ---
    void edtPath2Change();
    void btnBrowseClick();
    void FileListSelectChaged();
    void actRefreshExecute();
    void btnInvertClick();
    void actSellAllExecute();
    // "Include subfolders": the list shows the whole tree below the folder, or the folder.
    void chkSubfoldersClick();
    // The output folder moved: a tree that left out the old one is listed again.
    void OutputFolderChanged();
    // Lists the folder that the program was started with and selects the pictures given
    // in it; paths that name nothing are reported in one warning. Nothing changes when no
    // path exists. Call after InitMainWindow.
    void OpenStartPaths(const StartPaths& paths);
    // Opens dropped paths as start paths, refusing (with a box, changing nothing) files of
    // several folders and files that are no pictures.
    void OpenDroppedPaths(const std::vector<std::string>& paths);

    // --- Compare filters ---
    // Opens the comparison of the filters on the picture last clicked in the list.
    void actCompareExecute();
    // Makes the filter the batch's, as choosing it in the filter box does.
    void UseComparedFilter(int index);

    // --- Settings page ---
    void btnDesktopShortcutClick();
    // The application's hint under the mouse has changed.
    void CanShowHint();
    void spnHideHintChange();
    void spnOpacityChange();
    void chkSkinsClick();
    void chkAutoStartUpClick();
    void chkTrayIconClick();
    void TrayIconClick();

    // --- Info menu and web links ---
    void mnuAboutClick();
    void mnuOnlineHelpClick();
    void mnuProgramPageClick();
    void mnuCompanyPageClick();
    void mnuSupportClick();
    void lblAspectClick();

    // --- Updates ---
    void CheckUpdates(bool manual);
    void mnuUpdatesClick();
    void WebUpdateUpdateAvailable(const std::string& ActualVersion, const std::string& NewVersion,
                                  bool& CanUpdate);
    void WebUpdateNoUpdateFound();
    void WebUpdateDownloadError();
    void WebUpdateClientFileExists(std::string& FileName, bool& Overwrite);
    void WebUpdateAfterDownload(const std::string& FileName);

    // The log's text at start-up: a greeting and the maker's site.
    static QString Greeting();

    // The one text line of StatBar.
    QString StatusText() const;
    void SetStatusText(const QString& text);

    // --- Controls (named as the settings keys and handlers name them) ---
    QWidget* pnlHeader = nullptr;
    QLabel* Label6 = nullptr;
    TPathEdit* edtPath = nullptr;
    QPushButton* btnBrowse = nullptr;
    TFilterComboBox* FilterCombo = nullptr;
    TInternetLabel* InternetLabel = nullptr;

    QWidget* pnlLeft = nullptr;
    QLabel* lblTop = nullptr;
    QCheckBox* chkSubfolders = nullptr;
    TTessaroFileList* FileList = nullptr;
    QPushButton* btnRefresh = nullptr;
    QPushButton* btnSellAll = nullptr;
    QPushButton* btnInvert = nullptr;

    QSplitter* Splitter = nullptr;
    QTabWidget* PageControl = nullptr;
    QWidget* tabResizer = nullptr;
    QWidget* tabThumb = nullptr;
    QWidget* tabSettings = nullptr;
    QWidget* tabLog = nullptr;
    QStatusBar* StatBar = nullptr;
    // Beside the status text while a batch runs: the picture in turn, and the pictures done.
    QLabel* lblBatchProgress = nullptr;
    QProgressBar* proBatch = nullptr;

    QWidget* pnlTop = nullptr;
    QLabel* lblQuality1 = nullptr;
    TSelectionSlider* trkQuality = nullptr;
    QLabel* lblQualityTicks = nullptr;
    QLabel* lblQuality2 = nullptr;
    QLabel* Label7 = nullptr;
    QProgressBar* proBar = nullptr;
    QLabel* lblOutFormat = nullptr;
    QComboBox* cmbOutFormat = nullptr;
    QCheckBox* chkLossless = nullptr;
    QCheckBox* chkMaxSize = nullptr;
    TSpinField* spnMaxSize = nullptr;
    QLabel* lblMaxSizeKB = nullptr;
    QCheckBox* chkOptimize = nullptr;
    QCheckBox* chkProgressive = nullptr;
    QGroupBox* grpOutFolder = nullptr;
    QLineEdit* edtOutFolder = nullptr;
    QPushButton* btnOutFolder = nullptr;

    QGroupBox* grpImgSize = nullptr;
    QRadioButton* radXDecrease = nullptr;
    QRadioButton* radXIncrease = nullptr;
    QRadioButton* radSameSize = nullptr;
    QRadioButton* radSameWidth = nullptr;
    QRadioButton* radSameHeight = nullptr;
    QRadioButton* radFitBox = nullptr;
    QRadioButton* radLongSide = nullptr;
    QRadioButton* radShortSide = nullptr;
    QRadioButton* radPercent = nullptr;
    TSpinField* spnWH = nullptr;
    TSpinField* spnPercent = nullptr;
    QLabel* lblPercent = nullptr;
    QCheckBox* chkNoEnlarge = nullptr;
    QLabel* lblAspect = nullptr;
    QGroupBox* grpX = nullptr;
    TSpinField* spnRound = nullptr;
    QLabel* lblPunct = nullptr;
    TSpinField* spnZecimal = nullptr;
    QGroupBox* grpOutRatio = nullptr;
    TSpinField* spnWidth = nullptr;
    QLabel* lblThumbSize = nullptr;
    TSpinField* spnHeight = nullptr;
    QPushButton* btn43 = nullptr;
    QGroupBox* grpFitBox = nullptr;
    TSpinField* spnFitWidth = nullptr;
    QLabel* lblFitBox = nullptr;
    TSpinField* spnFitHeight = nullptr;

    QPushButton* btnStart = nullptr;
    QPushButton* btnAbort = nullptr;
    QFrame* pnlPreview = nullptr;
    TPreviewImage* imgLoader = nullptr;
    QLabel* lblPictureSize = nullptr;
    QWidget* pnlQuickBtn = nullptr;
    QPushButton* btnCompare = nullptr;
    QPushButton* btnResult = nullptr;
    QPushButton* btnManual = nullptr;
    QPushButton* btnSupport = nullptr;

    QLabel* lblNotAvailable = nullptr;

    QGroupBox* grpSystem = nullptr;
    QPushButton* btnDesktopShortcut = nullptr;
    QCheckBox* chkAutoStartUp = nullptr;
    QLabel* Label2 = nullptr;
    TSpinField* spnAutoUpdate = nullptr;
    QGroupBox* GroupHelp = nullptr;
    QRadioButton* radHintsOff = nullptr;
    QRadioButton* radHintsTooltips = nullptr;
    QRadioButton* radHintsStatBar = nullptr;
    QLabel* lblHintHide = nullptr;
    TSpinField* spnHideHint = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* chkSkins = nullptr;
    QCheckBox* chkSounds = nullptr;
    QCheckBox* chkTrayIcon = nullptr;
    QCheckBox* chkAllCores = nullptr;
    QLabel* Label1 = nullptr;
    TSpinField* spnOpacity = nullptr;
    QLabel* Label4 = nullptr;
    QGroupBox* grpPreview = nullptr;
    QCheckBox* chkProtect = nullptr;
    QCheckBox* chkPreview = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* cmbResampleQ = nullptr;
    QCheckBox* chkAddFltName = nullptr;
    QCheckBox* chkAutoOrient = nullptr;
    QCheckBox* chkToSrgb = nullptr;
    QCheckBox* chkKeepMetadata = nullptr;
    QCheckBox* chkStripGps = nullptr;
    QCheckBox* chkOverwrite = nullptr;

    QPlainTextEdit* Memo = nullptr;

    QAction* actStart = nullptr;
    QAction* actAbort = nullptr;
    QAction* actRefresh = nullptr;
    QAction* actExit = nullptr;
    QAction* actSellAll = nullptr;
    QAction* actCopyCommand = nullptr;
    QAction* actCompare = nullptr;

    QMenu* mnuOp = nullptr;
    QAction* mnuExit2 = nullptr;
    QMenu* mnuInfo = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuOnlineHelp = nullptr;
    QAction* mnuSupport = nullptr;
    QAction* mnuUpdates = nullptr;
    QAction* mnuProgramPage = nullptr;
    QAction* mnuCompanyPage = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* mnuExit = nullptr;

    TWebUpdate WebUpdate;
    TTrayIcon* TrayIcon = nullptr;
    // Released at start-up when "Use skins *" is off then.
    std::unique_ptr<TSkinManager> SkinManager = std::make_unique<TSkinManager>();
    THintWatcher* Hints = nullptr;
    // Made by the first "Compare filters".
    TCompareFiltersWindow* CompareWindow = nullptr;

    // --- State that other parts of the window read ---
    bool FirstRun = false;
    bool SettingsSaved = false;
    double LastCheck = 0;  // days since 1899-12-30, local time
    bool AbortRequested = false;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class TFormJobHost;
    class TFormBatchHost;
    class TJobScope;
    struct TComparedPicture;

    void FormCreate();
    void FormClose();
    // Files or folders of this computer, and no batch running.
    bool AcceptsDrop(const QMimeData* mime) const;

    void BuildHeader();
    void BuildLeftPanel();
    void BuildResizerPage();
    void BuildQualityPanel();
    void BuildOutputFormatRows(int top);
    void BuildRuleGroup();
    void BuildRuleFields();
    void BuildFactorGroup();
    void BuildOutputSizeGroup();
    void BuildFitBoxGroup();
    void BuildOutputFolderGroup(const QRect& geometry);
    void BuildJobButtons();
    void BuildPreview();
    void BuildQuickButtons();
    void BuildThumbPage();
    void BuildSettingsPage();
    void BuildSystemGroup();
    void BuildHelpGroup();
    void BuildInterfaceGroup();
    void BuildImageGroup();
    void BuildLogPage();
    void BuildActionsAndMenus();
    void NameControls();
    // The button runs the action and is enabled with it.
    void BindButtonToAction(QPushButton* button, QAction* action);

    void ConnectBatchCommands();
    void ConnectOutputFormat();
    // Enables the choices the chosen format uses; shows the size estimate for JPEG only.
    void OutputFormatChanged();
    OutputFormat ChosenOutputFormat() const;
    bool OutputIsLossless() const;
    void ConnectSizeRule();
    // Every rule's radio button with the rule it stands for.
    std::array<std::pair<QRadioButton*, ResizeRule>, 9> RuleButtons() const;
    void ConnectSource();
    void SetUpWebUpdate();
    void ConnectOptions();
    void ConnectLinks();
    void ConnectCompare();
    // The point clicked, in fractions of the picture, becomes the centre of the region.
    void PreviewPictureClick(QPointF at);
    // Shows the region of each filter in the window, made first. When the picture cannot be
    // loaded or gets no output, says why: in a box, hiding the window, when boxes is set,
    // otherwise in the window.
    bool ShowComparison(bool boxes = true);
    // Frames, on the preview, the region of a width x height output around the point chosen.
    OutputRegionRect FrameComparedRegion(int width, int height);
    // Switches the skin on, or releases it for the run, as "Use skins *" stands.
    void ApplySkinAtStart();

    // The chosen output folder, with a trailing separator; without a choice, the path
    // edit's text with one, followed by "Output/".
    std::string OutputFolder() const;
    // The same for pictures in sourceFolder.
    std::string OutputFolderOf(const std::string& sourceFolder) const;
    // Empties the log when it holds exactly the start-up greeting.
    void RemoveGreeting();
    void WriteJobHeader(JobKind kind);
    // Makes the list entry of that name the current one, when such a file exists.
    void FocusListEntry(const std::string& name);
    void ShowPicture(const QImage& picture, bool repaintNow);
    // done of total pictures handed over, beside the status bar and on the task bar; total 0
    // hides the progress.
    void ShowBatchProgress(int done, int total);

    std::string programPageUrl_;
    TStatusLine* statusText_ = nullptr;
    bool zecimalChanging_ = false;
    QSize previewedSize_;  // of the picture last clicked in the list; empty when it failed
    int runningJobs_ = 0;
    // A batch on several cores is waiting for its pictures; no other job may start then.
    bool concurrentBatchRunning_ = false;
    bool closeAfterJobs_ = false;
    std::string listedOutputFolder_;  // the folder the last tree listing left out
    bool closed_ = false;
    QPointF comparePoint_{0.5, 0.5};
    std::shared_ptr<TComparedPicture> comparedPicture_;
    TaskBarProgress taskBarProgress_;
};

}  // namespace selvane
