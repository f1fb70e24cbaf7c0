// The output format and its choices on the "Image resizer" page: the format box, lossless,
// the two JPEG choices and the file-size limit, each enabled only where the format uses it.
#include "ui/mainform/MainForm.h"

#include "ui/ErrorReport.h"
#include "ui/widgets/SpinField.h"
#include "ui/widgets/WidgetLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

#include <utility>

namespace selvane {

namespace {

// The format box's entries, in the order the settings file stores their index.
constexpr std::pair<const char*, OutputFormat> kFormatEntries[] = {
    {"JPEG", OutputFormat::Jpeg}, {"PNG", OutputFormat::Png},     {"WebP", OutputFormat::Webp},
    {"AVIF", OutputFormat::Avif}, {"JPEG XL", OutputFormat::Jxl},
};

constexpr const char* kFormatHint =
    "Choose the file format of the resized pictures.\r\n"
    "JPEG: for photos, opened by every program. PNG: without any loss, larger files.\r\n"
    "WebP, AVIF and JPEG XL: smaller files than JPEG at the same quality.\r\n"
    "For AVIF the quality above sets the quantizer: round((100 - quality) x 63 / 100).";

constexpr const char* kMaxSizeHint =
    "Lower the quality of each picture as far as needed to keep its file under this size (in KB).\r\n"
    "If even quality 5 is too large, the file is saved at quality 5 and the log says so.";

constexpr int kGap = 14;

// Left of a control placed after this one on its row.
int After(const QWidget* widget, int gap)
{
    return widget->geometry().right() + 1 + gap;
}

}  // namespace

// Two rows under the quality slider: the format, lossless and the size limit; then the JPEG
// choices. Each control starts where the one before it ends, so that no look cuts a caption.
void TMainForm::BuildOutputFormatRows(int top)
{
    lblOutFormat = MakeCaptioned<QLabel>(pnlTop, "Output format:", kFormatHint, QPoint(8, top + 3));
    cmbOutFormat = new QComboBox(pnlTop);
    for (const auto& [caption, format] : kFormatEntries) cmbOutFormat->addItem(QString::fromLatin1(caption));
    SetHint(cmbOutFormat, kFormatHint);
    cmbOutFormat->setGeometry(After(lblOutFormat, 6), top, cmbOutFormat->sizeHint().width(), 24);
    chkLossless = MakeCaptioned<QCheckBox>(
        pnlTop, "Lossless",
        "Save WebP and JPEG XL pictures without any loss: every pixel stays as it is, "
        "but the files are larger.\r\nThe quality above is not used then.",
        QPoint(After(cmbOutFormat, kGap), top + 2));
    chkMaxSize = MakeCaptioned<QCheckBox>(pnlTop, "Keep files under", kMaxSizeHint,
                                          QPoint(After(chkLossless, kGap), top + 2));
    spnMaxSize = new TSpinField(pnlTop);
    spnMaxSize->SetRange(1, 100000);
    spnMaxSize->SetValue(500);
    spnMaxSize->setGeometry(After(chkMaxSize, 2), top + 1, 70, 22);
    SetHint(spnMaxSize, kMaxSizeHint);
    lblMaxSizeKB = MakeCaptioned<QLabel>(pnlTop, "KB", kMaxSizeHint, QPoint(After(spnMaxSize, 4), top + 4));

    const int jpegTop = top + 26;
    chkOptimize = MakeCaptioned<QCheckBox>(
        pnlTop, "Smaller JPEG files (same pixels)",
        "Make JPEG files a little smaller with coding tables worked out for each "
        "picture.\r\nThe pixels stay exactly the same; saving takes a little longer.",
        QPoint(8, jpegTop));
    chkProgressive =
        MakeCaptioned<QCheckBox>(pnlTop, "Progressive JPEG",
                                 "Save JPEG files that show a rough picture first and sharpen while they "
                                 "load.\r\nUseful for web pages.",
                                 QPoint(After(chkOptimize, kGap), jpegTop));
    OutputFormatChanged();
}

void TMainForm::ConnectOutputFormat()
{
    const auto changed = Reporting(this, &TMainForm::OutputFormatChanged);
    connect(cmbOutFormat, &QComboBox::currentIndexChanged, this, changed);
    connect(chkLossless, &QCheckBox::toggled, this, changed);
    connect(chkMaxSize, &QCheckBox::toggled, this, changed);
}

OutputFormat TMainForm::ChosenOutputFormat() const
{
    const int index = cmbOutFormat->currentIndex();
    return index >= 0 && index < static_cast<int>(std::size(kFormatEntries)) ? kFormatEntries[index].second
                                                                             : OutputFormat::Jpeg;
}

bool TMainForm::OutputIsLossless() const
{
    return IsLossless(EncodeSettings{ChosenOutputFormat(), 0, chkLossless->isChecked()});
}

void TMainForm::OutputFormatChanged()
{
    const OutputFormat format = ChosenOutputFormat();
    const bool jpeg = format == OutputFormat::Jpeg;
    // Each box keeps its own choice while disabled, for when its format is chosen again.
    chkLossless->setEnabled(format == OutputFormat::Webp || format == OutputFormat::Jxl);
    chkOptimize->setEnabled(jpeg);
    chkProgressive->setEnabled(jpeg);
    const bool limitApplies = !OutputIsLossless();
    chkMaxSize->setEnabled(limitApplies);
    spnMaxSize->setEnabled(limitApplies && chkMaxSize->isChecked());
    lblMaxSizeKB->setEnabled(limitApplies);
    // The estimate is worked out for JPEG files; for any other format it would mislead.
    Label7->setVisible(jpeg);
    proBar->setVisible(jpeg);
}

}  // namespace selvane
