// "Compare filters": opened from the menu and from the button under the preview, its region
// chosen by a click in the preview, its tiles held against the batch's own output files, and
// the filter taken from it.
#include "MainFormFixture.h"

#include "engine/codec/PictureLoader.h"
#include "tests/support/CaseName.h"
#include "ui/mainform/CompareFiltersWindow.h"
#include "ui/RasterImage.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/SpinField.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace selvane::test {
namespace {

using MainFormCompareTest = MainFormTest;

QImage Shown(const QLabel* tile)
{
    return tile->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

// The region the window shows, as the frame on the preview gives it, in output pixels.
QRect ShownRegion(const TMainForm& form, QSize output)
{
    const QRectF frame = form.imgLoader->Frame();
    return QRect(static_cast<int>(std::lround(frame.left() * output.width())),
                 static_cast<int>(std::lround(frame.top() * output.height())),
                 static_cast<int>(std::lround(frame.width() * output.width())),
                 static_cast<int>(std::lround(frame.height() * output.height())));
}

void ClickPreviewAt(TMainForm& form, double x, double y)
{
    const QRect drawn = form.imgLoader->PictureRect();
    QTest::mouseClick(form.imgLoader, Qt::LeftButton, {},
                      QPoint(drawn.left() + static_cast<int>(x * drawn.width()),
                             drawn.top() + static_cast<int>(y * drawn.height())));
}

void ChooseFromMenu(TMainForm& form, QMenu* menu, QAction* action)
{
    QMenuBar* bar = form.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(WaitUntil([&] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

TEST_F(MainFormCompareTest, OpensFromTheMenuAndTheButtonWithTheSevenFiltersNamed)
{
    WriteQuietSettings(MakePictures("photos", {"a.jpg"}, 400, 300));
    TMainForm& form = StartShown();
    ClickItem(0);

    ChooseFromMenu(form, form.mnuOp, form.actCompare);
    ASSERT_NE(form.CompareWindow, nullptr);
    EXPECT_TRUE(form.CompareWindow->isVisible());
    EXPECT_EQ(form.CompareWindow->windowTitle(), "Compare filters");
    const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "Lanczos3", "Mitchell", "B-Spline"};
    for (int index = 0; index < kFilterCount; ++index) {
        EXPECT_EQ(form.CompareWindow->lblNames[index]->text(), names[index]);
        EXPECT_EQ(Shown(form.CompareWindow->imgTiles[index]).size(), QSize(200, 150));  // all of the output
        EXPECT_EQ(form.CompareWindow->btnUse[index]->text(), "Use this filter");
    }
    EXPECT_EQ(form.CompareWindow->lblRegion->text(), "a.jpg: output 200 x 150, region 200 x 150 from 0, 0");

    form.CompareWindow->close();
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);
    EXPECT_TRUE(form.CompareWindow->isVisible());
    EXPECT_TRUE(recorder_.messages.empty());
}

// A JPEG as stored, which the batch resamples while it decodes, and a phone's JPEG whose EXIF
// says to turn it, which the batch turns first: either way the window must show the very
// pixels of the files the batch writes. Both are seen as 1200 x 900.
class MainFormComparePixelsTest : public MainFormTest, public ::testing::WithParamInterface<bool> {};

void WritePicture(const std::string& path, bool turned)
{
    PictureMetadata metadata;
    // The least EXIF there is: a little-endian TIFF header and one entry, Orientation = 6.
    if (turned)
        metadata.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3,
                         0,   1,   0,  0, 0, 6, 0, 0, 0, 0, 0,    0,    0};
    Raster raster(turned ? 900 : 1200, turned ? 1200 : 900);
    for (int y = 0; y < raster.Height(); ++y)
        for (int x = 0; x < raster.Width() * 3; ++x)
            raster.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 3);
    WriteJpegFile(raster, 90, path, &metadata);
}

TEST_P(MainFormComparePixelsTest, TheRegionClickedIsTheCropOfEachFiltersBatchOutput)
{
    const std::string folder = MakePictures("photos", {});
    WritePicture(folder + "a.jpg", GetParam());
    WriteQuietSettings(folder, "cmbOutFormat=1\n");  // PNG keeps the output's pixels exact
    TMainForm& form = StartShown();
    ClickItem(0);
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);
    ClickPreviewAt(form, 0.45, 0.75);

    const QSize output(600, 450);
    const QRect region = ShownRegion(form, output);
    EXPECT_EQ(region.size(), QSize(256, 256));
    // A pixel of the preview is several of the output.
    const double outputPixelsPerPreviewPixel = 600.0 / form.imgLoader->PictureRect().width();
    EXPECT_NEAR(region.center().x(), 270, outputPixelsPerPreviewPixel + 1);
    EXPECT_EQ(region.bottom(), 449);  // pushed up to stay inside the output
    EXPECT_EQ(form.CompareWindow->lblRegion->text(),
              QStringLiteral("a.jpg: output 600 x 450, region 256 x 256 from %1, %2")
                  .arg(region.left())
                  .arg(region.top()));
    for (int index = 0; index < kFilterCount; ++index) {
        form.cmbResampleQ->setCurrentIndex(index);
        QTest::mouseClick(form.btnStart, Qt::LeftButton);
        const QImage written = RasterToImage(LoadPicture(folder + "Output/a.png"));
        ASSERT_EQ(written.size(), output);
        EXPECT_EQ(Shown(form.CompareWindow->imgTiles[index]),
                  written.copy(region).convertToFormat(QImage::Format_RGB32))
            << FilterTable[static_cast<std::size_t>(index)].Name;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, MainFormComparePixelsTest, ::testing::Bool(), [](const auto& row) {
    return std::string(row.param ? "TurnedByExif" : "AsStored");
});

TEST_F(MainFormCompareTest, AClickBeforeOpeningFramesThePartTheWindowThenShows)
{
    WriteQuietSettings(MakePictures("photos", {"a.jpg"}, 1200, 900));
    TMainForm& form = StartShown();
    ClickItem(0);
    EXPECT_TRUE(form.imgLoader->Frame().isEmpty());

    ClickPreviewAt(form, 0.9, 0.1);
    const QRect framed = ShownRegion(form, {600, 450});
    EXPECT_EQ(framed, QRect(344, 0, 256, 256));  // the corner's part, inside the output
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);

    EXPECT_EQ(ShownRegion(form, {600, 450}), framed);
    EXPECT_EQ(form.CompareWindow->lblRegion->text(), "a.jpg: output 600 x 450, region 256 x 256 from 344, 0");
}

// The window follows the rule as it changes, and a value the rule refuses on the way (the
// factor 1 that typing 12 passes through, say) is said in the window, without a box.
TEST_F(MainFormCompareTest, AnOpenWindowFollowsTheSizeRuleQuietly)
{
    WriteQuietSettings(MakePictures("photos", {"a.jpg"}, 400, 300));
    TMainForm& form = StartShown();
    ClickItem(0);
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);

    QTest::mouseClick(form.radXIncrease, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(form.CompareWindow->lblRegion->text(),
              "a.jpg: output 800 x 600, region 256 x 256 from 272, 172");
    EXPECT_EQ(Shown(form.CompareWindow->imgTiles[0]).size(), QSize(256, 256));

    form.spnRound->setFocus();
    QTest::keyClick(form.spnRound, Qt::Key_Down);
    EXPECT_EQ(form.CompareWindow->lblRegion->text(), "Please choose a resize factor higher than 1.");
    EXPECT_TRUE(form.CompareWindow->imgTiles[0]->pixmap().isNull());
    EXPECT_TRUE(form.CompareWindow->isVisible());
    EXPECT_TRUE(recorder_.messages.empty());

    QTest::keyClick(form.spnRound, Qt::Key_Up);
    EXPECT_EQ(form.CompareWindow->lblRegion->text(),
              "a.jpg: output 800 x 600, region 256 x 256 from 272, 172");
}

TEST_F(MainFormCompareTest, AnOpenWindowFollowsThePictureClickedInTheList)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"}, 400, 300);
    MakePictures("photos", {"c.jpg"}, 1000, 100);
    TestSandbox::WriteFile(folder + "d.jpg", "not a picture");
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ClickItem(0);
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);
    ASSERT_EQ(form.CompareWindow->lblRegion->text(), "a.jpg: output 200 x 150, region 200 x 150 from 0, 0");

    ClickItem(2);
    EXPECT_EQ(form.CompareWindow->lblRegion->text(), "c.jpg: output 500 x 50, region 256 x 50 from 122, 0");
    ClickItem(3);
    EXPECT_EQ(form.CompareWindow->lblRegion->text().toStdString(), "Cannot load image: " + folder + "d.jpg");
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MainFormCompareTest, UseThisFilterChoosesItForTheBatchAndTheSettings)
{
    WriteQuietSettings(MakePictures("photos", {"a.jpg"}, 400, 300));
    TMainForm& form = StartShown();
    ClickItem(0);
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);
    ASSERT_EQ(form.cmbResampleQ->currentIndex(), kDefaultFilterIndex);
    EXPECT_FALSE(form.CompareWindow->btnUse[kDefaultFilterIndex]->isEnabled());

    QTest::mouseClick(form.CompareWindow->btnUse[4], Qt::LeftButton);

    EXPECT_EQ(form.cmbResampleQ->currentIndex(), 4);
    EXPECT_EQ(form.CurrentJobOptions().filterIndex, 4);
    for (int index = 0; index < kFilterCount; ++index)
        EXPECT_EQ(form.CompareWindow->btnUse[index]->isEnabled(), index != 4) << index;
    form.close();
    EXPECT_EQ(ReadSettings()["Settings/cmbResampleQ"], "4");
}

// What the window cannot show is said in one box, and no window opens.
struct RefusedComparison {
    const char* name;
    std::vector<std::string> pictures;
    std::string settings;
    std::string message;  // "~" stands for the picture's folder
};

void PrintTo(const RefusedComparison& row, std::ostream* out)
{
    *out << row.name;
}

class MainFormRefusedCompareTest : public MainFormTest,
                                   public ::testing::WithParamInterface<RefusedComparison> {};

TEST_P(MainFormRefusedCompareTest, SaysWhyInOneBox)
{
    const std::string folder = MakePictures("photos", GetParam().pictures);
    if (!GetParam().pictures.empty()) TestSandbox::WriteFile(folder + "broken.jpg", "not a JPEG");
    WriteQuietSettings(folder, GetParam().settings);
    TMainForm& form = StartShown();
    if (!GetParam().pictures.empty()) ClickItem(form.FileList->ItemCount() - 1);

    QTest::mouseClick(form.btnCompare, Qt::LeftButton);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Warning);
    std::string message = GetParam().message;
    if (const auto at = message.find('~'); at != std::string::npos) message.replace(at, 1, folder);
    EXPECT_EQ(recorder_.messages[0].text, message);
    EXPECT_TRUE(form.CompareWindow == nullptr || !form.CompareWindow->isVisible());
}

const RefusedComparison kRefusedComparisons[] = {
    {"NoPicture", {}, "", "Click a picture in the list first."},
    {"AFileThatIsNoPicture", {"a.jpg"}, "", "Cannot load image: ~broken.jpg"},
    {"AFactorOfOne",
     {"a.jpg", "c.jpg"},
     "spnRound=1\nspnZecimal=0\n",
     "Please choose a resize factor higher than 1."},
};

INSTANTIATE_TEST_SUITE_P(Cases, MainFormRefusedCompareTest, ::testing::ValuesIn(kRefusedComparisons),
                         CaseName);

}  // namespace
}  // namespace selvane::test
