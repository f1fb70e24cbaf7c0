// "Compare filters": the region of the clicked picture's output around the point clicked in
// the preview, made under each filter exactly as the batch would make it, and the filter
// taken from there.
#include "ui/mainform/MainForm.h"

#include "engine/codec/PictureLoader.h"
#include "engine/job/OutputRegion.h"
#include "engine/job/PhotoHandling.h"
#include "source/TessaroFileList.h"
#include "ui/ErrorReport.h"
#include "ui/mainform/CompareFiltersWindow.h"
#include "ui/RasterImage.h"
#include "ui/widgets/PreviewImage.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <filesystem>
#include <new>

namespace selvane {

namespace {

constexpr int kRegionSide = 256;

// The wait cursor while a picture loads and resamples, ended before any box.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { End(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void End()
    {
        if (active_) QApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

}  // namespace

// The picture last compared, as seen under the options it was loaded with, so that a
// click in the preview only resamples.
struct TMainForm::TComparedPicture {
    std::string path;
    bool autoOrient = false;
    bool toSrgb = false;
    Raster picture;
};

void TMainForm::ConnectCompare()
{
    connect(actCompare, &QAction::triggered, this, Reporting(this, &TMainForm::actCompareExecute));
    imgLoader->OnPictureClick = [this](QPointF at) { RunReportingErrors([&] { PreviewPictureClick(at); }); };
    connect(cmbResampleQ, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (CompareWindow) CompareWindow->SetChosenFilter(index);
    });
}

void TMainForm::actCompareExecute()
{
    // The command reads the file afresh: it may have changed since the last comparison.
    comparedPicture_.reset();
    if (!ShowComparison()) return;
    CompareWindow->show();
    CompareWindow->raise();
    CompareWindow->activateWindow();
}

void TMainForm::PreviewPictureClick(QPointF at)
{
    comparePoint_ = at;
    if (CompareWindow && CompareWindow->isVisible()) {
        ShowComparison(false);
        return;
    }
    // The window opens later on this part; until then the frame shows which part it is.
    if (previewedSize_.isEmpty()) return;
    const PlannedSize size =
        PlanOutputSize(previewedSize_.width(), previewedSize_.height(), CurrentJobOptions());
    if (size.outcome == SizeOutcome::Fits)
        FrameComparedRegion(static_cast<int>(size.width), static_cast<int>(size.height));
}

OutputRegionRect TMainForm::FrameComparedRegion(int width, int height)
{
    const OutputRegionRect region =
        RegionAround(static_cast<int>(comparePoint_.x() * width),
                     static_cast<int>(comparePoint_.y() * height), width, height, kRegionSide);
    imgLoader->SetFrame(
        QRectF(static_cast<double>(region.left) / width, static_cast<double>(region.top) / height,
               static_cast<double>(region.width) / width, static_cast<double>(region.height) / height));
    return region;
}

void TMainForm::UseComparedFilter(int index)
{
    cmbResampleQ->setCurrentIndex(index);
}

bool TMainForm::ShowComparison(bool boxes)
{
    const std::string path = FileList->PreviewFilePath();
    WaitCursor waiting;
    const auto refuse = [&](const std::string& text) {
        waiting.End();
        if (!boxes && CompareWindow) {
            CompareWindow->ShowRefusal(QString::fromStdString(text));
            return false;
        }
        if (CompareWindow) CompareWindow->hide();
        ShowWarningMessage(text);
        return false;
    };
    if (path.empty() || !FileExists(path)) return refuse("Click a picture in the list first.");

    const JobOptions options = CurrentJobOptions();
    if (!comparedPicture_ || comparedPicture_->path != path ||
        comparedPicture_->autoOrient != options.autoOrient || comparedPicture_->toSrgb != options.toSrgb) {
        comparedPicture_.reset();
        try {
            comparedPicture_ = std::make_shared<TComparedPicture>(
                TComparedPicture{path, options.autoOrient, options.toSrgb, LoadPictureAsSeen(path, options)});
        } catch (const DecodeError&) {
            return refuse("Cannot load image: " + path);
        } catch (const std::bad_alloc&) {
            return refuse("Cannot load image: " + path);
        }
    }
    const Raster& picture = comparedPicture_->picture;
    const PlannedSize size = PlanOutputSize(picture.Width(), picture.Height(), options);
    switch (size.outcome) {
    case SizeOutcome::Fits: break;
    case SizeOutcome::Huge: return refuse("Huge image, not resized: " + path);
    case SizeOutcome::InvalidFactor: return refuse("Please choose a resize factor higher than 1.");
    case SizeOutcome::OutOfRange:
        return refuse("Output size out of range (" + std::to_string(size.width) + " x " +
                      std::to_string(size.height) + ").");
    }

    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    const OutputRegionRect region = FrameComparedRegion(width, height);
    std::array<QImage, kFilterCount> tiles;
    for (int index = 0; index < kFilterCount; ++index)
        tiles[static_cast<std::size_t>(index)] =
            RasterToImage(MakeOutputRegion(picture, {size.width, size.height}, options.size,
                                           FilterTable[static_cast<std::size_t>(index)], region));

    if (!CompareWindow) {
        CompareWindow = new TCompareFiltersWindow(this);
        CompareWindow->setObjectName(QStringLiteral("CompareWindow"));
        CompareWindow->OnUseFilter = [this](int index) { UseComparedFilter(index); };
    }
    const QString caption = QStringLiteral("%1: output %2 x %3, region %4 x %5 from %6, %7")
                                .arg(QString::fromStdString(std::filesystem::path(path).filename().string()))
                                .arg(width)
                                .arg(height)
                                .arg(region.width)
                                .arg(region.height)
                                .arg(region.left)
                                .arg(region.top);
    CompareWindow->ShowTiles(caption, tiles);
    CompareWindow->SetChosenFilter(cmbResampleQ->currentIndex());
    return true;
}

}  // namespace selvane
