// Batches and single images started from the window with real input, and the log, status
// bar, commands and cursor they leave.
#include "MainFormFixture.h"
#include "tests/support/DoubleClick.h"

#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "ui/widgets/PreviewImage.h"
#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace selvane::test {
namespace {

using MainFormBatchTest = MainFormTest;

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int CountEndingWith(const std::vector<std::string>& lines, const std::string& tail)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& line) { return line.ends_with(tail); }));
}

TEST_F(MainFormBatchTest, F9ResizesTheSelectedPictures)
{
    const std::string folder =
        MakePictures("photos", {"a.jpg", "b.png", "c.jpg", "notes.txt.jpg.bak"}, 40, 30);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ASSERT_EQ(form.FileList->ItemCount(), 3);
    ClickItem(0);
    ClickItem(1, Qt::ControlModifier);

    QTest::keyClick(&form, Qt::Key_F9);

    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "");
    EXPECT_TRUE(lines[3].ends_with(" NEW BATCH JOB STARTED")) << lines[3];
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "File resized and saved as: " + folder + "Output/a.jpg");
    EXPECT_EQ(lines[6], "File resized and saved as: " + folder + "Output/b.jpg");
    EXPECT_EQ(lines.size(), 7u);
    const Raster output = LoadPicture(folder + "Output/b.jpg");
    EXPECT_EQ(output.Width(), 20);
    EXPECT_EQ(output.Height(), 15);
    EXPECT_FALSE(std::filesystem::exists(folder + "Output/c.jpg"));

    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in ")) << form.StatusText().toStdString();
    EXPECT_TRUE(form.StatusText().endsWith(" sec"));
    EXPECT_TRUE(form.actStart->isEnabled());
    EXPECT_FALSE(form.actAbort->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(recorder_.messages.empty());
    // The preview shows the last picture processed, fitted to its box.
    EXPECT_TRUE(form.imgLoader->FitToBox());
}

TEST_F(MainFormBatchTest, EnterInAnEditFieldOfTheResizerPageRunsStart)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.radSameSize->click();
    form.spnWidth->setFocus();
    QTest::keyClick(form.spnWidth, Qt::Key_Return);
    EXPECT_TRUE(Contains(LogLines(), "File resized and saved as: " + folder + "Output/a.jpg"));

    // A button with the focus answers Enter itself.
    form.btn43->setFocus();
    QTest::keyClick(form.btn43, Qt::Key_Return);
    EXPECT_EQ(form.spnHeight->Value(), 150);
    EXPECT_EQ(CountEndingWith(LogLines(), " NEW BATCH JOB STARTED"), 1);
}

TEST_F(MainFormBatchTest, AbortDuringAPictureStopsBeforeTheNext)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"});
    WriteQuietSettings(folder, "chkAllCores=0\n");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    WhenLogShows(
        form, "File resized and saved as: ", [&form] { QTest::mouseClick(form.btnAbort, Qt::LeftButton); });

    QTest::mouseClick(form.btnStart, Qt::LeftButton);

    const auto lines = LogLines();
    EXPECT_EQ(CountEndingWith(lines, "Output/a.jpg"), 1);
    EXPECT_EQ(lines.back(), "Process aborted.");
    EXPECT_FALSE(std::filesystem::exists(folder + "Output/b.jpg"));
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in "));
    EXPECT_FALSE(form.actAbort->isEnabled());
}

TEST_F(MainFormBatchTest, ARefusedFactorEndsTheBatchWithOneBox)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"});
    WriteQuietSettings(folder, "spnRound=1\nspnZecimal=0\n");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();

    QTest::keyClick(&form, Qt::Key_F9);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(recorder_.messages[0].text,
              "Invalid \"x\" factor! (1)\r\nPlease choose a resize factor higher than 1.");
    const auto lines = LogLines();
    EXPECT_EQ(CountEndingWith(lines, ".jpg"), 0);
    EXPECT_FALSE(Contains(lines, "Process aborted."));
    EXPECT_FALSE(std::filesystem::exists(folder + "Output/a.jpg"));
    EXPECT_TRUE(form.actStart->isEnabled());
    EXPECT_FALSE(form.actAbort->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in "));
    EXPECT_TRUE(form.spnRound->hasFocus());
}

TEST_F(MainFormBatchTest, AnEmptyListWarnsAndLeavesTheLogAlone)
{
    const std::string folder = MakePictures("empty", {});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.actAbort->setEnabled(false);

    QTest::keyClick(&form, Qt::Key_F9);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(recorder_.messages[0].caption, "Warning");
    EXPECT_EQ(recorder_.messages[0].text, "No pictures to process");
    EXPECT_EQ(form.Memo->toPlainText(), TMainForm::Greeting());
    EXPECT_TRUE(form.actAbort->isEnabled());
    EXPECT_EQ(form.StatusText(), "74");
    EXPECT_FALSE(std::filesystem::exists(folder + "Output"));
}

TEST_F(MainFormBatchTest, NothingSelectedWarnsAndRunsAnEmptyBatch)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.FileList->SetItemSelected(0, false);

    QTest::keyClick(&form, Qt::Key_F9);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text, "Please select the file(s) you want to resize!");
    EXPECT_EQ(CountEndingWith(LogLines(), " NEW BATCH JOB STARTED"), 1);
    EXPECT_TRUE(std::filesystem::is_directory(folder + "Output"));
}

TEST_F(MainFormBatchTest, ADoubleClickResizesThatPicture)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"}, 40, 30);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();

    test::DoubleClick(form.FileList->viewport(), ItemRect(1).center());

    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_TRUE(lines[3].ends_with(" RESIZING SINGLE IMAGE")) << lines[3];
    EXPECT_EQ(lines[5], "File resized and saved as: " + folder + "Output/b.jpg");
    EXPECT_FALSE(std::filesystem::exists(folder + "Output/a.jpg"));
    EXPECT_TRUE(form.StatusText().startsWith("Job done in ")) << form.StatusText().toStdString();
    EXPECT_FALSE(form.actAbort->isEnabled());
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MainFormBatchTest, OnlyTheFirstJobRemovesTheGreeting)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    EXPECT_EQ(form.Memo->toPlainText(), TMainForm::Greeting());

    QTest::keyClick(&form, Qt::Key_F9);
    const auto first = LogLines();
    EXPECT_FALSE(Contains(first, "Please visit our web site from more downloads."));

    QTest::keyClick(&form, Qt::Key_F9);
    const auto both = LogLines();
    ASSERT_EQ(both.size(), 2 * first.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), both.begin()));
}

TEST_F(MainFormBatchTest, ClosingDuringABatchStopsAfterThePictureAndThenCloses)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"});
    WriteQuietSettings(folder, "chkAllCores=0\n");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    WhenLogShows(form, "File resized and saved as: ", [&form] { form.close(); });

    QTest::keyClick(&form, Qt::Key_F9);

    EXPECT_EQ(LogLines().back(), "Process aborted.");
    EXPECT_FALSE(std::filesystem::exists(folder + "Output/b.jpg"));
    EXPECT_TRUE(form.IsClosed());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ReadSettings().at("Settings/LastPath"), folder);
}

// The photo options a batch would use are the boxes' states as the person left them.
// "Remove location" stays checked, though disabled, while photo information is not kept,
// and clicks on it then change nothing.
TEST_F(MainFormBatchTest, TheJobTakesThePhotoOptionsFromTheBoxes)
{
    WriteSettings("[WindowState]\nLast_used_tab=2\n[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartShown();
    const auto click = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5)); };

    click(form.chkAutoOrient);
    click(form.chkToSrgb);
    click(form.chkStripGps);
    JobOptions options = form.CurrentJobOptions();
    EXPECT_FALSE(options.autoOrient);
    EXPECT_TRUE(options.toSrgb);
    EXPECT_TRUE(options.keepMetadata);
    EXPECT_TRUE(options.stripGps);

    click(form.chkKeepMetadata);
    EXPECT_FALSE(form.chkStripGps->isEnabled());
    click(form.chkStripGps);
    options = form.CurrentJobOptions();
    EXPECT_FALSE(options.keepMetadata);
    EXPECT_TRUE(options.stripGps);

    click(form.chkKeepMetadata);
    EXPECT_TRUE(form.chkStripGps->isEnabled());
    click(form.chkStripGps);
    click(form.chkAutoOrient);
    click(form.chkToSrgb);
    options = form.CurrentJobOptions();
    EXPECT_TRUE(options.autoOrient);
    EXPECT_FALSE(options.toSrgb);
    EXPECT_TRUE(options.keepMetadata);
    EXPECT_FALSE(options.stripGps);
}

// A phone's picture, 40 x 30 as stored, whose EXIF says to turn it a quarter clockwise.
void WritePhonePicture(const std::string& path)
{
    // The least EXIF there is: a little-endian TIFF header and one entry, Orientation = 6.
    PictureMetadata metadata;
    metadata.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    Raster raster(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40 * 3; ++x) raster.Row(y)[x] = static_cast<std::uint8_t>(x + y);
    WriteJpegFile(raster, 90, path, &metadata);
}

TEST_F(MainFormBatchTest, APhonePictureIsPreviewedAndResizedUpright)
{
    const std::string folder = MakePictures("photos", {});
    WritePhonePicture(folder + "phone.jpg");
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ASSERT_EQ(form.FileList->ItemCount(), 1);
    ClickItem(0);
    EXPECT_EQ(form.imgLoader->Picture().size(), QSize(30, 40));

    QTest::keyClick(&form, Qt::Key_F9);
    Raster output = LoadPicture(folder + "Output/phone.jpg");
    EXPECT_EQ(output.Width(), 15);
    EXPECT_EQ(output.Height(), 20);

    // Unchecked, the picture is previewed and resized as stored.
    form.PageControl->setCurrentIndex(2);
    QTest::mouseClick(form.chkAutoOrient, Qt::LeftButton, {}, QPoint(5, 5));
    form.PageControl->setCurrentIndex(0);
    ClickItem(0);
    EXPECT_EQ(form.imgLoader->Picture().size(), QSize(40, 30));
    QTest::keyClick(&form, Qt::Key_F9);
    output = LoadPicture(folder + "Output/phone.jpg");
    EXPECT_EQ(output.Width(), 20);
    EXPECT_EQ(output.Height(), 15);
}

struct QualityCase {
    int quality;
    int bar;
};

class QualityReadOutTest : public MainFormTest, public ::testing::WithParamInterface<QualityCase> {};

TEST_P(QualityReadOutTest, SetsTheSizeBarLabelAndStatus)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\ntrkQuality=40\n");
    TMainForm& form = StartShown();
    form.AbortRequested = true;
    form.trkQuality->setFocus();
    // Home and End move the slider to its ends; arrows step by one.
    if (GetParam().quality == 5) QTest::keyClick(form.trkQuality, Qt::Key_Home);
    else if (GetParam().quality == 95) QTest::keyClick(form.trkQuality, Qt::Key_End);
    else form.trkQuality->setValue(GetParam().quality);

    EXPECT_EQ(form.trkQuality->value(), GetParam().quality);
    EXPECT_EQ(form.proBar->value(), GetParam().bar);
    EXPECT_EQ(form.lblQuality2->text().toInt(), GetParam().quality);
    EXPECT_EQ(form.StatusText().toInt(), GetParam().quality);
    EXPECT_FALSE(form.AbortRequested);
}

INSTANTIATE_TEST_SUITE_P(Positions, QualityReadOutTest,
                         ::testing::Values(QualityCase{5, 26}, QualityCase{50, 120}, QualityCase{74, 204},
                                           QualityCase{95, 296}),
                         [](const auto& row) { return "Quality" + std::to_string(row.param.quality); });

TEST_F(MainFormBatchTest, ShowResultOpensTheOutputFolder)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    QTest::mouseClick(form.btnResult, Qt::LeftButton);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], folder + "Output/");
    EXPECT_FALSE(std::filesystem::exists(folder + "Output"));
}

}  // namespace
}  // namespace selvane::test
