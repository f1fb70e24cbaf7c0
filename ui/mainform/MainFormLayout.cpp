// The window's frame: header, left panel, pages, status bar, actions and menus, and the
// end of the window's creation (FormCreate).
#include "ui/mainform/MainForm.h"

#include "engine/resample/FilterTable.h"
#include "source/FilterComboBox.h"
#include "source/listing/PictureFolder.h"
#include "source/PathEdit.h"
#include "source/TessaroFileList.h"
#include "ui/ErrorReport.h"
#include "ui/mainform/SettingsFile.h"
#include "ui/QtMessageBoxes.h"
#include "ui/ResizerApplication.h"
#include "ui/widgets/Anchors.h"
#include "ui/widgets/InternetLabel.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"
#include "ui/widgets/StatusLine.h"
#include "ui/widgets/WidgetLook.h"
#include "ui/widgets/WindowColors.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace selvane {

namespace {

constexpr QSize kClientSize(874, 643);
constexpr QPoint kDesignPosition(341, 69);
constexpr int kHeaderHeight = 64;
constexpr int kLeftPanelWidth = 290;
constexpr int kSplitterWidth = 5;
constexpr int kBatchProgressWidth = 160;

constexpr const char* kPathHint = "Locate the folder that contains the pictures you want to process";
constexpr const char* kStartHint =
    "Start the resizing process. \rOnly the pictures selected will be processed.";
constexpr const char* kAbortHint = "Stop the batch resize process";

QAction* MakeAction(QObject* owner, const char* caption, const QKeySequence& shortcut)
{
    auto* action = new QAction(QString::fromLatin1(caption), owner);
    action->setShortcut(shortcut);
    return action;
}

// The caption of a filter's first entry ("caption|mask|caption|mask...").
QString FirstCaption(const char* filter)
{
    return QString::fromLatin1(filter).section(QLatin1Char('|'), 0, 0);
}

// The width a combo box needs to show text whole, as its style draws it.
int FilterBoxWidthFor(QComboBox* box, const QString& text)
{
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.currentText = text;
    const QFontMetrics metrics = box->fontMetrics();
    const QSize content(metrics.horizontalAdvance(text), metrics.height());
    return box->style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, box).width();
}

}  // namespace

TMainForm::TMainForm(std::string programPageUrl) : programPageUrl_(std::move(programPageUrl))
{
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);

    BuildActionsAndMenus();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    BuildHeader();
    column->addWidget(pnlHeader);

    Splitter = new QSplitter(Qt::Horizontal, central);
    Splitter->setHandleWidth(kSplitterWidth);
    Splitter->setOpaqueResize(true);
    Splitter->setChildrenCollapsible(false);
    column->addWidget(Splitter, 1);
    BuildLeftPanel();
    Splitter->addWidget(pnlLeft);

    PageControl = new QTabWidget(Splitter);
    Splitter->addWidget(PageControl);
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    Splitter->setSizes({kLeftPanelWidth, kClientSize.width() - kLeftPanelWidth - kSplitterWidth});
    BuildResizerPage();
    BuildThumbPage();
    BuildSettingsPage();
    BuildLogPage();
    setCentralWidget(central);

    StatBar = statusBar();
    StatBar->setSizeGripEnabled(false);
    statusText_ = new TStatusLine(StatBar);
    StatBar->addWidget(statusText_, 1);
    lblBatchProgress = new QLabel(StatBar);
    StatBar->addPermanentWidget(lblBatchProgress);
    proBatch = new QProgressBar(StatBar);
    proBatch->setMaximumWidth(kBatchProgressWidth);
    StatBar->addPermanentWidget(proBatch);
    ShowBatchProgress(0, 0);

    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());
    move(kDesignPosition);

    NameControls();
    ConnectBatchCommands();
    ConnectOutputFormat();
    ConnectSizeRule();
    ConnectSource();
    SetUpWebUpdate();
    ConnectOptions();
    ConnectLinks();
    ConnectCompare();
    trkQuality->setFocus();
    setAcceptDrops(true);

    FormCreate();
}

void TMainForm::FormCreate()
{
    FirstRun = !FileExists(SettingsFilePath());
    for (const FilterEntry& filter : FilterTable)
        cmbResampleQ->addItem(
            QString::fromUtf8(filter.Name.data(), static_cast<qsizetype>(filter.Name.size())));
}

void TMainForm::NameControls()
{
#define SELVANE_NAMED(control) std::pair<QObject*, const char*>(control, #control)
    const std::pair<QObject*, const char*> controls[] = {
        SELVANE_NAMED(pnlHeader),       SELVANE_NAMED(Label6),
        SELVANE_NAMED(edtPath),         SELVANE_NAMED(btnBrowse),
        SELVANE_NAMED(FilterCombo),     SELVANE_NAMED(InternetLabel),
        SELVANE_NAMED(pnlLeft),         SELVANE_NAMED(lblTop),
        SELVANE_NAMED(FileList),        SELVANE_NAMED(btnRefresh),
        SELVANE_NAMED(btnSellAll),      SELVANE_NAMED(btnInvert),
        SELVANE_NAMED(Splitter),        SELVANE_NAMED(PageControl),
        SELVANE_NAMED(tabResizer),      SELVANE_NAMED(tabThumb),
        SELVANE_NAMED(tabSettings),     SELVANE_NAMED(tabLog),
        SELVANE_NAMED(StatBar),         SELVANE_NAMED(lblBatchProgress),
        SELVANE_NAMED(proBatch),        SELVANE_NAMED(pnlTop),
        SELVANE_NAMED(lblQuality1),     SELVANE_NAMED(trkQuality),
        SELVANE_NAMED(lblQualityTicks), SELVANE_NAMED(lblQuality2),
        SELVANE_NAMED(Label7),          SELVANE_NAMED(proBar),
        SELVANE_NAMED(lblOutFormat),    SELVANE_NAMED(cmbOutFormat),
        SELVANE_NAMED(chkLossless),     SELVANE_NAMED(chkMaxSize),
        SELVANE_NAMED(spnMaxSize),      SELVANE_NAMED(lblMaxSizeKB),
        SELVANE_NAMED(chkOptimize),     SELVANE_NAMED(chkProgressive),
        SELVANE_NAMED(grpImgSize),      SELVANE_NAMED(radXDecrease),
        SELVANE_NAMED(radXIncrease),    SELVANE_NAMED(radSameSize),
        SELVANE_NAMED(radSameWidth),    SELVANE_NAMED(radSameHeight),
        SELVANE_NAMED(radFitBox),       SELVANE_NAMED(radLongSide),
        SELVANE_NAMED(radShortSide),    SELVANE_NAMED(radPercent),
        SELVANE_NAMED(spnWH),           SELVANE_NAMED(spnPercent),
        SELVANE_NAMED(lblPercent),      SELVANE_NAMED(chkNoEnlarge),
        SELVANE_NAMED(lblAspect),       SELVANE_NAMED(grpX),
        SELVANE_NAMED(spnRound),        SELVANE_NAMED(lblPunct),
        SELVANE_NAMED(spnZecimal),      SELVANE_NAMED(grpOutRatio),
        SELVANE_NAMED(spnWidth),        SELVANE_NAMED(lblThumbSize),
        SELVANE_NAMED(spnHeight),       SELVANE_NAMED(btn43),
        SELVANE_NAMED(grpFitBox),       SELVANE_NAMED(spnFitWidth),
        SELVANE_NAMED(lblFitBox),       SELVANE_NAMED(spnFitHeight),
        SELVANE_NAMED(grpOutFolder),    SELVANE_NAMED(edtOutFolder),
        SELVANE_NAMED(btnOutFolder),    SELVANE_NAMED(btnStart),
        SELVANE_NAMED(btnAbort),        SELVANE_NAMED(pnlPreview),
        SELVANE_NAMED(imgLoader),       SELVANE_NAMED(lblPictureSize),
        SELVANE_NAMED(pnlQuickBtn),     SELVANE_NAMED(btnCompare),
        SELVANE_NAMED(btnResult),       SELVANE_NAMED(btnManual),
        SELVANE_NAMED(btnSupport),      SELVANE_NAMED(lblNotAvailable),
        SELVANE_NAMED(grpSystem),       SELVANE_NAMED(btnDesktopShortcut),
        SELVANE_NAMED(chkAutoStartUp),  SELVANE_NAMED(Label2),
        SELVANE_NAMED(spnAutoUpdate),   SELVANE_NAMED(GroupHelp),
        SELVANE_NAMED(radHintsOff),     SELVANE_NAMED(radHintsTooltips),
        SELVANE_NAMED(radHintsStatBar), SELVANE_NAMED(lblHintHide),
        SELVANE_NAMED(spnHideHint),     SELVANE_NAMED(GroupBox1),
        SELVANE_NAMED(chkSkins),        SELVANE_NAMED(chkSounds),
        SELVANE_NAMED(chkTrayIcon),     SELVANE_NAMED(chkAllCores),
        SELVANE_NAMED(chkSubfolders),   SELVANE_NAMED(Label1),
        SELVANE_NAMED(spnOpacity),      SELVANE_NAMED(Label4),
        SELVANE_NAMED(grpPreview),      SELVANE_NAMED(chkProtect),
        SELVANE_NAMED(chkPreview),      SELVANE_NAMED(Label5),
        SELVANE_NAMED(cmbResampleQ),    SELVANE_NAMED(chkAddFltName),
        SELVANE_NAMED(chkAutoOrient),   SELVANE_NAMED(chkToSrgb),
        SELVANE_NAMED(chkKeepMetadata), SELVANE_NAMED(chkStripGps),
        SELVANE_NAMED(chkOverwrite),    SELVANE_NAMED(Memo),
        SELVANE_NAMED(actStart),        SELVANE_NAMED(actAbort),
        SELVANE_NAMED(actRefresh),      SELVANE_NAMED(actExit),
        SELVANE_NAMED(actSellAll),      SELVANE_NAMED(actCopyCommand),
        SELVANE_NAMED(actCompare),      SELVANE_NAMED(mnuOp),
        SELVANE_NAMED(mnuExit2),        SELVANE_NAMED(mnuInfo),
        SELVANE_NAMED(mnuAbout),        SELVANE_NAMED(mnuOnlineHelp),
        SELVANE_NAMED(mnuSupport),      SELVANE_NAMED(mnuUpdates),
        SELVANE_NAMED(mnuProgramPage),  SELVANE_NAMED(mnuCompanyPage),
        SELVANE_NAMED(PopupMenu)};
#undef SELVANE_NAMED
    // The settings keys are these names, and tests find the controls by them.
    for (const auto& [control, name] : controls) control->setObjectName(QString::fromLatin1(name));
}

void TMainForm::BuildHeader()
{
    pnlHeader = new QWidget(this);
    pnlHeader->setFixedHeight(kHeaderHeight);
    SetBackground(pnlHeader, StoredColor(colors::kHeader));

    Label6 = new QLabel(QStringLiteral("Process images in this folder:"), pnlHeader);
    SetBoldFont(Label6);
    Label6->move(5, 9);
    Label6->adjustSize();

    edtPath = new TPathEdit(QString(), pnlHeader);
    edtPath->setGeometry(14, 30, 544, 22);
    SetBackground(edtPath, StoredColor(colors::kExistingFolder));
    SetHint(edtPath, kPathHint);

    btnBrowse = new QPushButton(QStringLiteral("Browse"), pnlHeader);
    btnBrowse->setGeometry(561, 27, 60, 26);
    SetHint(btnBrowse, kPathHint);

    FilterCombo = new TFilterComboBox(pnlHeader);
    SetHint(FilterCombo, "Select which type of pictures you want to process");
    // Wide enough for its first entry in the window's font, its right edge where it was
    // designed; what it needs beyond the designed 228 pixels the path edit gives up.
    const int grow = std::max(0, FilterBoxWidthFor(FilterCombo, FirstCaption(kPictureFilter)) - 228);
    FilterCombo->setGeometry(641 - grow, 28, 228 + grow, 24);
    btnBrowse->move(btnBrowse->x() - grow, btnBrowse->y());
    edtPath->resize(edtPath->width() - grow, edtPath->height());

    InternetLabel = new TInternetLabel(pnlHeader);
    InternetLabel->setText(QStringLiteral("www"));
    QFont underlined = InternetLabel->font();
    underlined.setUnderline(true);
    InternetLabel->setFont(underlined);
    InternetLabel->setGeometry(846, 1, 26, 16);

    auto* anchors = new TAnchors(pnlHeader, QSize(kClientSize.width(), kHeaderHeight));
    anchors->Add(edtPath, TAnchors::StretchWidth);
    anchors->Add(btnBrowse, TAnchors::FollowRight);
    anchors->Add(FilterCombo, TAnchors::FollowRight);
    anchors->Add(InternetLabel, TAnchors::FollowRight);
}

void TMainForm::BuildLeftPanel()
{
    pnlLeft = new QWidget(Splitter);
    auto* column = new QVBoxLayout(pnlLeft);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    auto* top = new QHBoxLayout;
    lblTop = new QLabel(QStringLiteral("Files to be resized:"), pnlLeft);
    lblTop->setFixedHeight(19);
    top->addWidget(lblTop, 1);
    chkSubfolders = new QCheckBox(QStringLiteral("Include subfolders"), pnlLeft);
    SetHint(chkSubfolders, "List the pictures in every folder under this one too.\r\n"
                           "Their resized copies keep the same folders under the output folder.");
    top->addWidget(chkSubfolders);
    column->addLayout(top);

    FileList = new TTessaroFileList(pnlLeft);
    FileList->SetFileType({TFileAttr::ftHidden, TFileAttr::ftNormal});
    FileList->SetMask(kPictureMask);
    FileList->SetMultiSelect(true);
    FileList->SetShowGlyphs(true);
    FileList->SetItemHeight(16);
    SetBackground(FileList->viewport(), StoredColor(colors::kFileList));
    SetHint(FileList,
            "All files in this list will be resized. The output will be placed into the \"Output\" folder.");
    column->addWidget(FileList, 1);
    FilterCombo->SetFileList(FileList);
    FilterCombo->SetFilter(kPictureFilter);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    btnRefresh = new QPushButton(pnlLeft);
    btnSellAll = new QPushButton(pnlLeft);
    btnInvert = new QPushButton(QStringLiteral("Invert selection"), pnlLeft);
    for (QPushButton* button : {btnRefresh, btnSellAll, btnInvert}) buttons->addWidget(button);
    column->addLayout(buttons);
    BindButtonToAction(btnRefresh, actRefresh);
    BindButtonToAction(btnSellAll, actSellAll);
}

void TMainForm::BuildActionsAndMenus()
{
    actStart = MakeAction(this, "Resize selected", QKeySequence(Qt::Key_F9));
    actStart->setToolTip(BoxText(kStartHint));
    actAbort = MakeAction(this, "Abort", QKeySequence(Qt::Key_F11));
    actAbort->setToolTip(BoxText(kAbortHint));
    actRefresh = MakeAction(this, "Refresh files", QKeySequence(Qt::Key_F5));
    actExit = MakeAction(this, "Exit", QKeySequence());
    actSellAll = MakeAction(this, "Select all", QKeySequence(Qt::Key_F4));
    actCopyCommand = MakeAction(this, "Copy as command line", QKeySequence());
    actCompare = MakeAction(this, "Compare filters", QKeySequence());
    // Actions that no menu carries still need the window for their shortcuts.
    addAction(actSellAll);
    addAction(actExit);

    mnuOp = menuBar()->addMenu(QStringLiteral("Operations"));
    mnuOp->addAction(actStart);
    mnuOp->addAction(actAbort);
    mnuOp->addAction(actRefresh);
    mnuOp->addAction(actCopyCommand);
    mnuOp->addAction(actCompare);
    mnuExit2 = mnuOp->addAction(QStringLiteral("E&xit"));
    mnuExit2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));

    mnuInfo = menuBar()->addMenu(QStringLiteral("Info"));
    mnuAbout = mnuInfo->addAction(QStringLiteral("About"));
    mnuOnlineHelp = mnuInfo->addAction(QStringLiteral("Online manual"));
    mnuOnlineHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuSupport = mnuInfo->addAction(QStringLiteral("Online support"));
    mnuUpdates = mnuInfo->addAction(QStringLiteral("Check for updates"));
    mnuInfo->addSeparator();
    mnuProgramPage = mnuInfo->addAction(QStringLiteral("Program web page"));
    mnuCompanyPage = mnuInfo->addAction(QStringLiteral("Similar software"));

    PopupMenu = new QMenu(this);
    PopupMenu->addAction(actExit);
    mnuExit = actExit;

    connect(actExit, &QAction::triggered, this, Reporting(this, &TMainForm::actExitExecute));
    connect(mnuExit2, &QAction::triggered, this, Reporting(this, &TMainForm::actExitExecute));
}

void TMainForm::BindButtonToAction(QPushButton* button, QAction* action)
{
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
}

QString TMainForm::StatusText() const
{
    return statusText_->Line();
}

void TMainForm::SetStatusText(const QString& text)
{
    statusText_->SetLine(text);
}

}  // namespace selvane
