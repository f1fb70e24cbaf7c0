// The pages "Thumb generator" (hidden), "Settings" and "Log".
#include "ui/mainform/MainForm.h"

#include "ui/widgets/SpinField.h"
#include "ui/widgets/WidgetLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace selvane {

namespace {

// The Interface and Image groups side by side, one height, with the Overwrite box below.
constexpr int kLowerGroupTop = 178;
constexpr int kLowerGroupHeight = 267;

QCheckBox* MakeCheckBox(QWidget* parent, const char* caption, const char* hint, QPoint position, bool checked)
{
    QCheckBox* box = MakeCaptioned<QCheckBox>(parent, caption, hint, position);
    box->setChecked(checked);
    return box;
}

QRadioButton* MakeRadio(QWidget* parent, const char* caption, const char* hint, QPoint position)
{
    return MakeCaptioned<QRadioButton>(parent, caption, hint, position);
}

// A label whose caption leaves a run of spaces for a spin field, and that field placed
// in the gap.
QLabel* MakeGapLabel(QWidget* parent, const char* caption, QPoint position, TSpinField* field)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->move(position);
    label->adjustSize();
    const QString text = label->text();
    const qsizetype gapStart = text.indexOf(QLatin1String("  "));
    qsizetype gapEnd = gapStart;
    while (gapEnd < text.size() && text.at(gapEnd) == u' ') ++gapEnd;
    const QFontMetrics metrics = label->fontMetrics();
    const int left = metrics.horizontalAdvance(text.left(gapStart + 1));
    const int width = metrics.horizontalAdvance(text.mid(gapStart + 1, gapEnd - gapStart - 2));
    const int height = field->sizeHint().height();
    field->setGeometry(position.x() + left, position.y() + (label->height() - height) / 2, width, height);
    field->raise();
    return label;
}

TSpinField* MakeSpinField(QWidget* parent, int minValue, int maxValue, int increment, int value)
{
    auto* field = new TSpinField(parent);
    field->SetRange(minValue, maxValue);
    field->SetIncrement(increment);
    field->SetValue(value);
    return field;
}

}  // namespace

void TMainForm::BuildThumbPage()
{
    tabThumb = new QWidget;
    // The tab bar still draws the current tab's caption when that tab is hidden, as a
    // fragment above the tab row; so the hidden tab has none, and the page keeps its name.
    tabThumb->setAccessibleName(QStringLiteral("Thumb generator"));
    PageControl->addTab(tabThumb, QString());
    PageControl->setTabVisible(PageControl->indexOf(tabThumb), false);
    lblNotAvailable = new QLabel(QStringLiteral("Not available yet."), tabThumb);
    lblNotAvailable->move(221, 181);
    lblNotAvailable->adjustSize();
}

void TMainForm::BuildSettingsPage()
{
    tabSettings = new QWidget;
    PageControl->addTab(tabSettings, QStringLiteral("Settings"));
    BuildSystemGroup();
    BuildHelpGroup();
    BuildInterfaceGroup();
    BuildImageGroup();

    chkOverwrite = MakeCheckBox(tabSettings, "Overwrite existen images",
                                "If this is NOT checked the program will not overwrite the images already "
                                "existent in the output folder.\rRecommended: Checked",
                                QPoint(188, kLowerGroupTop + kLowerGroupHeight + 27), true);
}

// Log-on start, the desktop shortcut and the update interval.
void TMainForm::BuildSystemGroup()
{
    grpSystem = MakeGroupBox("System", tabSettings, QRect(5, 21, 280, 140));
    btnDesktopShortcut = new QPushButton(QStringLiteral("Create shortcut"), grpSystem);
    btnDesktopShortcut->setGeometry(14, 24, 110, 25);
    SetHint(btnDesktopShortcut, "Create a shortcut to this program on desktop");
    chkAutoStartUp = MakeCheckBox(grpSystem, "Start with Windows",
                                  "This program will start at Windows' start-up", QPoint(14, 62), false);
    spnAutoUpdate = MakeSpinField(grpSystem, 0, 365, 1, 1);
    Label2 = MakeGapLabel(grpSystem, "Auto search for updates evey                   days", QPoint(14, 102),
                          spnAutoUpdate);
}

// How the hints show, and for how long.
void TMainForm::BuildHelpGroup()
{
    GroupHelp = MakeGroupBox("Help", tabSettings, QRect(292, 21, 276, 140));
    radHintsOff = MakeRadio(GroupHelp, "Turn off the embeded help system",
                            "Don't use the embeded help system. No pop-up will appear and no info will be "
                            "displayed in status bar.",
                            QPoint(8, 22));
    radHintsTooltips = MakeRadio(
        GroupHelp, "Show help as tool-tips",
        "Show a hint when you hold the mouse cursor over an item (button, checkbox, etc)", QPoint(8, 46));
    radHintsStatBar = MakeRadio(GroupHelp, "Show help in status bar also",
                                "Show information about an item in status bar.", QPoint(8, 70));
    spnHideHint = MakeSpinField(GroupHelp, 800, 20000, 100, 4000);
    lblHintHide = MakeGapLabel(GroupHelp, "Hide hint after                    miliseconds.", QPoint(8, 104),
                               spnHideHint);
}

// The look: skin, sounds, tray, opacity; and how many pictures a batch works on at once.
void TMainForm::BuildInterfaceGroup()
{
    GroupBox1 = MakeGroupBox("Interface", tabSettings, QRect(5, kLowerGroupTop, 280, kLowerGroupHeight));
    chkSkins = MakeCheckBox(GroupBox1, "Use skins *", "Enable the Skin System (requires restart)",
                            QPoint(14, 22), false);
    chkSounds = MakeCheckBox(GroupBox1, "Use sounds", "Make a sond on 'COPY' event", QPoint(14, 46), false);
    chkTrayIcon = MakeCheckBox(GroupBox1, "Minimize to tray", "", QPoint(14, 70), false);
    Label1 = new QLabel(QStringLiteral("Opacity"), GroupBox1);
    Label1->move(14, 100);
    Label1->adjustSize();
    spnOpacity = MakeSpinField(GroupBox1, 30, 255, 3, 199);
    spnOpacity->setGeometry(70, 96, 60, 24);
    chkAllCores = MakeCheckBox(GroupBox1, "Use all processor cores",
                               "Resize several pictures at once, one on each processor core.\r\n"
                               "If this is NOT checked the pictures are resized one after another.",
                               QPoint(14, 132), true);
    Label4 = new QLabel(
        QStringLiteral("* Experimental. It will require a little bit more memory. Takes efect after "
                       "restart. May slow down the program"),
        GroupBox1);
    Label4->setWordWrap(true);
    // A footnote to "Use skins *", at the foot of the group.
    Label4->setGeometry(8, kLowerGroupHeight - 46, 264, 42);
    QPalette grey = Label4->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    Label4->setPalette(grey);
}

// The job's options: the huge-picture guard, the preview, the filter, the file names, and
// what becomes of a photo's orientation, colours and information.
void TMainForm::BuildImageGroup()
{
    grpPreview = MakeGroupBox("Image", tabSettings, QRect(292, kLowerGroupTop, 276, kLowerGroupHeight));
    chkProtect = MakeCheckBox(grpPreview, "Protect against invalid images",
                              "If the image is higher than 10000 pixels than your computer may not\r\n"
                              "have enough memory to process it or it may be corrupt.\r\n"
                              "If this checkbox is checked, the program will ignore such huge images.",
                              QPoint(8, 22), true);
    chkPreview =
        MakeCheckBox(grpPreview, "Show preview panel",
                     "Show the current processed image in a small preview window. This will slow down "
                     "the program with about 5%.",
                     QPoint(8, 46), false);
    constexpr const char* kResampleHint =
        "Choose the filter for the resampling process.\r\n"
        "If you don't understand this, leave it to its default state or experiment with different values (don't "
        "worry, you won't break nothing).\r\n"
        "Filters like B-Spline and Mitchell are better (it will give better image quality) but are also slower "
        "(it will take more time to convert many images).\r\n"
        "Box is the worst filter but is also the fastest.\r\n\r\n"
        "We recommend B-Spline and Mitchell.";
    Label5 = new QLabel(QStringLiteral("Resampling quality:"), grpPreview);
    Label5->move(8, 76);
    Label5->adjustSize();
    SetHint(Label5, kResampleHint);
    cmbResampleQ = new QComboBox(grpPreview);
    cmbResampleQ->setGeometry(8, 94, 180, 24);
    SetHint(cmbResampleQ, kResampleHint);
    chkAddFltName =
        MakeCheckBox(grpPreview, "Add filter name at the image name",
                     "Append the name of the filter used at the end of the resulted file's name.\r\n"
                     "Very useful for comparing filters' quality.",
                     QPoint(8, 128), false);
    chkAutoOrient = MakeCheckBox(
        grpPreview, "Rotate pictures as the camera held them",
        "Turn each picture upright, the way the camera was held when it was taken, "
        "as the picture's own information (EXIF) says.\r\n"
        "If this is NOT checked the pictures are kept as they are stored, which may be on their side.",
        QPoint(8, 152), true);
    chkToSrgb =
        MakeCheckBox(grpPreview, "Convert colours to sRGB",
                     "Convert the colours of each picture to sRGB, the colours that screens and web "
                     "browsers expect, and leave out its colour profile.\r\n"
                     "Useful for pictures from cameras set to Adobe RGB, and for programs that ignore "
                     "colour profiles.",
                     QPoint(8, 176), false);
    chkKeepMetadata = MakeCheckBox(grpPreview, "Keep photo information (EXIF, XMP)",
                                   "Copy the photo information (camera, date, exposure, author, keywords) to "
                                   "the resized pictures.\r\n"
                                   "If this is NOT checked the resized pictures carry no such information.",
                                   QPoint(8, 200), true);
    // Indented under the box it depends on, and disabled with it so that its own choice
    // is still there when photo information is kept again.
    chkStripGps = MakeCheckBox(grpPreview, "Remove location (GPS)",
                               "Leave out the place where the photo was taken (GPS position) from the photo "
                               "information of the resized pictures.\r\n"
                               "Recommended before you share pictures on the Internet.",
                               QPoint(26, 224), false);
    connect(chkKeepMetadata, &QCheckBox::toggled, chkStripGps, &QWidget::setEnabled);
}

void TMainForm::BuildLogPage()
{
    tabLog = new QWidget;
    PageControl->addTab(tabLog, QStringLiteral("Log"));
    auto* column = new QVBoxLayout(tabLog);
    column->setContentsMargins(0, 0, 0, 0);
    Memo = new QPlainTextEdit(QStringLiteral("Log:"), tabLog);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette black = Memo->palette();
    black.setColor(QPalette::Text, Qt::black);
    Memo->setPalette(black);
    column->addWidget(Memo);
}

}  // namespace selvane
