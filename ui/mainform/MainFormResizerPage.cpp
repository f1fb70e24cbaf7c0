// The "Image resizer" page: quality, size rule, commands and preview.
#include "ui/mainform/MainForm.h"

#include "ui/Artwork.h"
#include "ui/widgets/Anchors.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"
#include "ui/widgets/WidgetLook.h"
#include "ui/widgets/WindowColors.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace selvane {

namespace {

// The page's size in the design; anchored controls keep their distances from there.
constexpr QSize kPageDesignSize(575, 537);

// The rule group's rows: the nine rules, then "Never enlarge pictures", then the distortion
// warning (20 high) across the bottom.
constexpr int RuleRowTop(int row)
{
    return 20 + 23 * row;
}
constexpr int kNoEnlargeRow = 9;
constexpr int kWarningRow = 10;
// The quality panel: the slider and the estimate, then two rows of output choices.
constexpr int kOutputRowsTop = 70;
constexpr int kTopPanelHeight = kOutputRowsTop + 52;
constexpr int kRuleGroupTop = kTopPanelHeight + 6;
constexpr int kRuleGroupHeight = RuleRowTop(kWarningRow) + 20 + 6;
constexpr int kRuleGroupDesignWidth = 300;

// Under the rule group, the job buttons, then the preview down to the page's bottom.
constexpr int kJobButtonsTop = kRuleGroupTop + kRuleGroupHeight + 6;
constexpr int kPreviewTop = kJobButtonsTop + 31;
constexpr int kPreviewHeight = kPageDesignSize.height() - 4 - kPreviewTop;

TSpinField* MakeSpinField(QWidget* parent, int minValue, int maxValue, int value, const QRect& geometry)
{
    auto* field = new TSpinField(parent);
    field->SetRange(minValue, maxValue);
    field->SetValue(value);
    field->setGeometry(geometry);
    return field;
}

QRadioButton* MakeRadio(QWidget* parent, const char* caption, const char* hint, int top)
{
    return MakeCaptioned<QRadioButton>(parent, caption, hint, QPoint(10, top));
}

// The left edge of a group right of the rules: its designed place, moved by as much as the
// rule group has grown.
int BesideRules(const QGroupBox* rules, int designLeft)
{
    return designLeft + rules->width() - kRuleGroupDesignWidth;
}

QLabel* MakeLabel(QWidget* parent, const char* caption, QPoint position)
{
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->move(position);
    label->adjustSize();
    return label;
}

// A width " x " height pair of fields, as the size groups hold them.
struct SizeFields {
    TSpinField* width;
    QLabel* times;
    TSpinField* height;
};

SizeFields MakeSizeFields(QGroupBox* group, int width, int height, const char* widthHint,
                          const char* heightHint)
{
    SizeFields fields{};
    fields.width = MakeSpinField(group, 10, 20000, width, QRect(6, 22, 62, 24));
    SetHint(fields.width, widthHint);
    fields.times = MakeLabel(group, " x ", QPoint(fields.width->geometry().right() + 2, 26));
    fields.height =
        MakeSpinField(group, 10, 20000, height, QRect(fields.times->geometry().right() + 1, 22, 62, 24));
    SetHint(fields.height, heightHint);
    return fields;
}

}  // namespace

void TMainForm::BuildResizerPage()
{
    tabResizer = new QWidget;
    PageControl->addTab(tabResizer, QStringLiteral("Image resizer"));
    tabResizer->resize(kPageDesignSize);
    BuildQualityPanel();
    BuildRuleGroup();
    BuildFactorGroup();
    BuildOutputSizeGroup();
    BuildFitBoxGroup();
    // Under the groups that the rules show beside them, which all end above this.
    const int folderLeft = BesideRules(grpImgSize, 366);
    BuildOutputFolderGroup(
        QRect(folderLeft, kRuleGroupTop + 172, kPageDesignSize.width() - 4 - folderLeft, 84));
    BuildJobButtons();
    BuildPreview();
    BuildQuickButtons();

    // A focused button answers Enter itself; everything else on the page passes it on to
    // the Start command (see the key filter in ConnectBatchCommands).
    for (QPushButton* button : tabResizer->findChildren<QPushButton*>()) button->setAutoDefault(true);

    auto* anchors = new TAnchors(tabResizer, kPageDesignSize);
    anchors->Add(pnlTop, TAnchors::StretchWidth);
    anchors->Add(pnlPreview, TAnchors::StretchWidth | TAnchors::StretchHeight);
    anchors->Add(pnlQuickBtn, TAnchors::FollowRight | TAnchors::StretchHeight);
}

// The quality slider, the file-size estimate and the output choices across the top of the page.
void TMainForm::BuildQualityPanel()
{
    pnlTop = new QWidget(tabResizer);
    pnlTop->setGeometry(0, 0, kPageDesignSize.width(), kTopPanelHeight);
    lblQuality1 = MakeLabel(pnlTop, "Quality for the output images:", QPoint(8, 6));
    SetHint(
        lblQuality1,
        "Recommended: 75-95.\r\rFor best image quality we recommend you to set this to 90-95. If you "
        "want small files (for\rexample to send them over a slow internet connection) and you accept a "
        "little bit lower\rimage quality set this to 75-80. The higher image quality, the higher file size.");
    trkQuality = new TSelectionSlider(pnlTop);
    trkQuality->setRange(5, 95);
    trkQuality->setValue(5);
    trkQuality->setTickInterval(10);
    trkQuality->setTickPosition(QSlider::TicksBelow);
    trkQuality->setPageStep(10);
    trkQuality->SetSelection(70, 90);
    lblQualityTicks = new QLabel(
        QStringLiteral("5                                  50                                95"), pnlTop);
    QFont ticksFont(QStringLiteral("Arial"));
    ticksFont.setPixelSize(9);
    lblQualityTicks->setFont(ticksFont);
    lblQualityTicks->move(12, 56);
    lblQualityTicks->adjustSize();
    // The numbers stand under the ends and the middle of the slider.
    trkQuality->setGeometry(4, 24, lblQualityTicks->width() + 16, 30);
    lblQuality2 = MakeLabel(pnlTop, "JPEG quality", QPoint(trkQuality->geometry().right() + 8, 30));
    lblQuality2->resize(80, lblQuality2->height());
    Label7 = MakeLabel(pnlTop, "Approximate file size (in KB):", QPoint(360, 6));
    SetHint(Label7, "This is an inaccurate approximation.");
    proBar = new QProgressBar(pnlTop);
    proBar->setRange(0, 296);
    proBar->setValue(0);
    proBar->setTextVisible(false);
    proBar->setGeometry(360, 28, 200, 16);
    BuildOutputFormatRows(kOutputRowsTop);
}

// "I want to:": the size rules and the fields that go with them.
void TMainForm::BuildRuleGroup()
{
    grpImgSize = new QGroupBox(QStringLiteral("I want to:"), tabResizer);
    grpImgSize->setGeometry(32, kRuleGroupTop, kRuleGroupDesignWidth, kRuleGroupHeight);
    radXDecrease = MakeRadio(grpImgSize, "Decrease image size x times",
                             "This will make each output image x times smaller.", RuleRowTop(0));
    radXIncrease = MakeRadio(grpImgSize, "Increase image size x times (magnify)",
                             "This will magnify each output image x times.", RuleRowTop(1));
    radSameSize =
        MakeRadio(grpImgSize, "Make all images of the same width and height",
                  "This will make all output images to have the same width and height.\r\n"
                  "You must specify the width and height in the red box.\r\n"
                  "You may distort your images if they have a ratio different from the one choused.",
                  RuleRowTop(2));
    radSameWidth = MakeRadio(grpImgSize, "Make all images of the same width:",
                             "This will make all output images to have the same width.\r\n"
                             "You must specify the width (in pixels) in the blue box.",
                             RuleRowTop(3));
    radSameHeight = MakeRadio(grpImgSize, "Make all images of the same height:",
                              "This will make all output images to have the same height\r\n"
                              "You must specify the height (in pixels) in the blue box.",
                              RuleRowTop(4));
    radFitBox = MakeRadio(grpImgSize, "Make all images fit within width and height",
                          "This will make all output images fit within the same width and height, "
                          "keeping their proportions.\r\n"
                          "You must specify the width and height in the red box.",
                          RuleRowTop(5));
    radLongSide = MakeRadio(grpImgSize, "Make the longer side of all images:",
                            "This will make the longer side of all output images the same length, "
                            "keeping their proportions.\r\n"
                            "You must specify the length (in pixels) in the blue box.",
                            RuleRowTop(6));
    radShortSide = MakeRadio(grpImgSize, "Make the shorter side of all images:",
                             "This will make the shorter side of all output images the same length, "
                             "keeping their proportions.\r\n"
                             "You must specify the length (in pixels) in the blue box.",
                             RuleRowTop(7));
    radPercent = MakeRadio(grpImgSize, "Scale all images to a percentage:",
                           "This will make each output image a percentage of its own size.\r\n"
                           "You must specify the percentage in the blue box.",
                           RuleRowTop(8));
    radXIncrease->setChecked(true);
    BuildRuleFields();
    // The group's bold title must not make its contents bold, nor their sizes those of bold
    // captions: the contents are sized above in the plain font and keep it.
    QFont plain = font();
    plain.setBold(false);
    for (QWidget* child : grpImgSize->findChildren<QWidget*>()) child->setFont(plain);
    SetBoldFont(grpImgSize);
}

// Beside the rules that take a length or a percentage, their fields, in one column right of
// the longest of those captions; under the rules, "Never enlarge pictures" and the distortion
// warning. The group grows to hold them when the captions need more than its designed width.
void TMainForm::BuildRuleFields()
{
    int fieldsLeft = 0;
    for (QRadioButton* radio : {radSameWidth, radSameHeight, radLongSide, radShortSide, radPercent})
        fieldsLeft = std::max(fieldsLeft, radio->geometry().right() + 5);
    spnWH = MakeSpinField(grpImgSize, 0, 0, 0, QRect(fieldsLeft, 87, 66, 22));
    SetBackground(spnWH, StoredColor(colors::kCommonSide));
    SetHint(spnWH, "(in pixels)");
    spnWH->hide();
    spnPercent = MakeSpinField(grpImgSize, 1, 1000, 50, QRect(fieldsLeft, radPercent->y(), 52, 22));
    SetBackground(spnPercent, StoredColor(colors::kCommonSide));
    SetHint(spnPercent, "(percent of the image's own size)");
    spnPercent->hide();
    lblPercent = MakeLabel(grpImgSize, "%", QPoint(spnPercent->geometry().right() + 4, radPercent->y() + 3));
    lblPercent->hide();
    chkNoEnlarge = new QCheckBox(QStringLiteral("Never enlarge pictures"), grpImgSize);
    SetHint(chkNoEnlarge, "A picture that is already smaller than the size you choose keeps its own size.\r\n"
                          "This does not apply when you magnify images.");
    chkNoEnlarge->move(10, RuleRowTop(kNoEnlargeRow));
    chkNoEnlarge->adjustSize();

    int width = kRuleGroupDesignWidth;
    for (const QWidget* child : grpImgSize->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        width = std::max(width, child->geometry().right() + 9);
    grpImgSize->resize(width, grpImgSize->height());

    lblAspect = new QLabel(QStringLiteral("IMAGE MAY GET DISTORTED"), grpImgSize);
    lblAspect->setAlignment(Qt::AlignCenter);
    lblAspect->setGeometry(4, RuleRowTop(kWarningRow), width - 8, 20);
    SetBackground(lblAspect, StoredColor(colors::kDistortionWarning));
    lblAspect->setCursor(Qt::PointingHandCursor);
    SetHint(lblAspect, "In this mode, the aspect ratio of some images may be broken after resize.");
    lblAspect->hide();
}

// The factor of the decrease and increase rules, as whole part "." tenths.
void TMainForm::BuildFactorGroup()
{
    grpX = MakeGroupBox("x:", tabResizer, QRect(BesideRules(grpImgSize, 367), kRuleGroupTop, 150, 80));
    SetBackground(grpX, StoredColor(colors::kFactorGroup));
    SetHint(grpX, "Increase/decrease the size of your images x times.");
    spnRound = MakeSpinField(grpX, 1, 10, 2, QRect(18, 32, 50, 24));
    spnRound->SetMaxLength(2);
    lblPunct = new QLabel(QStringLiteral("."), grpX);
    QFont punctFont(QStringLiteral("Arial Black"));
    punctFont.setBold(true);
    punctFont.setPointSize(12);
    lblPunct->setFont(punctFont);
    lblPunct->setGeometry(71, 30, 8, 26);
    spnZecimal = MakeSpinField(grpX, -1, 10, 0, QRect(82, 32, 50, 24));
}

// The width and height of the same-size rule.
void TMainForm::BuildOutputSizeGroup()
{
    grpOutRatio = MakeGroupBox("Output image size:", tabResizer,
                               QRect(BesideRules(grpImgSize, 366), kRuleGroupTop + 84, 150, 84));
    SetBackground(grpOutRatio, StoredColor(colors::kOutputSizeGroup));
    SetHint(grpOutRatio, "Size (in pixels)");
    const SizeFields fields =
        MakeSizeFields(grpOutRatio, 10, 10, "Output width (in pixels)", "Output height (in pixels)");
    spnWidth = fields.width;
    lblThumbSize = fields.times;
    spnHeight = fields.height;
    btn43 = new QPushButton(QStringLiteral("Set 4/3"), grpOutRatio);
    btn43->setGeometry(35, 52, 80, 25);
    SetHint(btn43,
            "Set 4/3 aspect ratio.\r\nMost computer screen and digital cameras uses this aspect ration.");
    grpOutRatio->hide();
}

// The box of the fit-within rule, where the factor group stands for the factor rules.
void TMainForm::BuildFitBoxGroup()
{
    grpFitBox = MakeGroupBox("Largest image size:", tabResizer,
                             QRect(BesideRules(grpImgSize, 366), kRuleGroupTop, 150, 56));
    SetBackground(grpFitBox, StoredColor(colors::kOutputSizeGroup));
    SetHint(grpFitBox, "The largest width and height (in pixels)");
    const SizeFields fields = MakeSizeFields(grpFitBox, 1920, 1080, "Largest output width (in pixels)",
                                             "Largest output height (in pixels)");
    spnFitWidth = fields.width;
    lblFitBox = fields.times;
    spnFitHeight = fields.height;
    grpFitBox->hide();
}

void TMainForm::BuildJobButtons()
{
    btnStart = new QPushButton(tabResizer);
    // Wider than the 91 of the design, so that the caption fits with the skin's padding too.
    btnStart->setGeometry(64, kJobButtonsTop, 112, 25);
    BindButtonToAction(btnStart, actStart);
    btnStart->setToolTip(actStart->toolTip());
    btnAbort = new QPushButton(tabResizer);
    btnAbort->setGeometry(236, kJobButtonsTop, 86, 25);
    BindButtonToAction(btnAbort, actAbort);
    btnAbort->setToolTip(actAbort->toolTip());
}

void TMainForm::BuildPreview()
{
    pnlPreview = new QFrame(tabResizer);
    pnlPreview->setFrameShape(QFrame::StyledPanel);
    pnlPreview->setFrameShadow(QFrame::Sunken);
    pnlPreview->setGeometry(4, kPreviewTop, 455, kPreviewHeight);
    auto* previewLayout = new QVBoxLayout(pnlPreview);
    previewLayout->setContentsMargins(1, 1, 1, 1);
    imgLoader = new TPreviewImage(pnlPreview);
    imgLoader->SetPicture(MakeBanner());
    SetHint(imgLoader, "Preview of current selected picture");
    previewLayout->setSpacing(0);
    // The picture takes what the size line and the button leave.
    previewLayout->addWidget(imgLoader, 1);
    auto* underPreview = new QHBoxLayout;
    previewLayout->addLayout(underPreview);
    lblPictureSize = new QLabel(pnlPreview);
    lblPictureSize->setAlignment(Qt::AlignCenter);
    underPreview->addWidget(lblPictureSize, 1);
    btnCompare = new QPushButton(pnlPreview);
    BindButtonToAction(btnCompare, actCompare);
    SetHint(btnCompare, "Show a part of the picture resized with each filter, at 100 %.");
    underPreview->addWidget(btnCompare);
}

// The links beside the preview: the output folder, the manual, the forum.
void TMainForm::BuildQuickButtons()
{
    pnlQuickBtn = new QWidget(tabResizer);
    pnlQuickBtn->setGeometry(463, kPreviewTop, 103, kPreviewHeight);
    auto* quickButtons = new QVBoxLayout(pnlQuickBtn);
    quickButtons->setContentsMargins(0, 0, 0, 0);
    btnResult = new QPushButton(QStringLiteral("Show result"), pnlQuickBtn);
    SetHint(btnResult, "Navigate to the output folder.");
    btnManual = new QPushButton(QStringLiteral("Online manual"), pnlQuickBtn);
    SetHint(btnManual, "Read the online manual");
    btnSupport = new QPushButton(QStringLiteral("Online support"), pnlQuickBtn);
    SetHint(btnSupport, "Submit a ticket to our help desk");
    for (QPushButton* button : {btnResult, btnManual, btnSupport}) quickButtons->addWidget(button);
    quickButtons->addStretch(1);
}

}  // namespace selvane
