// The output format and its choices, chosen on the resizer page with real input, and the
// files a batch writes with them.
#include "MainFormFixture.h"

#include "engine/codec/PictureLoader.h"
#include "engine/job/ImageJob.h"
#include "tests/support/CaseName.h"
#include "ui/widgets/SpinField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

namespace selvane::test {
namespace {

using MainFormOutputFormatTest = MainFormTest;

void Click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
}

// Moves the format box down to its entry at index, by keys, as a person would.
void ChooseFormat(TMainForm& form, int index)
{
    form.cmbOutFormat->setFocus();
    QTest::keyClick(form.cmbOutFormat, Qt::Key_Home);
    for (int step = 0; step < index; ++step) QTest::keyClick(form.cmbOutFormat, Qt::Key_Down);
    ASSERT_EQ(form.cmbOutFormat->currentIndex(), index);
}

bool HasMarker(const std::string& bytes, unsigned char marker)
{
    return bytes.find(std::string{'\xFF', static_cast<char>(marker)}) != std::string::npos;
}

struct FormatCase {
    const char* name;
    const char* caption;
    const char* extension;
    bool losslessEnabled;
    bool jpegChoicesEnabled;  // optimize, progressive, and the size estimate shown
};

class OutputFormatChoiceTest : public MainFormTest, public ::testing::WithParamInterface<FormatCase> {};

// Each entry writes its own kind of file, which opens at the rule's size, and enables only
// the choices that format uses.
TEST_P(OutputFormatChoiceTest, F9WritesTheChosenFormat)
{
    const FormatCase& row = GetParam();
    const std::string folder = MakePictures("photos", {"a.png"}, 40, 30);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ClickItem(0);
    const int index = form.cmbOutFormat->findText(QString::fromLatin1(row.caption));
    ASSERT_GE(index, 0);
    ChooseFormat(form, index);

    EXPECT_EQ(form.chkLossless->isEnabled(), row.losslessEnabled);
    EXPECT_EQ(form.chkOptimize->isEnabled(), row.jpegChoicesEnabled);
    EXPECT_EQ(form.chkProgressive->isEnabled(), row.jpegChoicesEnabled);
    EXPECT_EQ(form.proBar->isVisible(), row.jpegChoicesEnabled);
    EXPECT_EQ(form.Label7->isVisible(), row.jpegChoicesEnabled);
    EXPECT_EQ(form.chkMaxSize->isEnabled(), std::string(row.extension) != "png");

    QTest::keyClick(&form, Qt::Key_F9);

    const std::string output = folder + "Output/a." + row.extension;
    EXPECT_EQ(LogLines().back(), "File resized and saved as: " + output);
    const Raster picture = LoadPicture(output);
    EXPECT_EQ(picture.Width(), 20);
    EXPECT_EQ(picture.Height(), 15);
    EXPECT_TRUE(recorder_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Formats, OutputFormatChoiceTest,
                         ::testing::Values(FormatCase{"Jpeg", "JPEG", "jpg", false, true},
                                           FormatCase{"Png", "PNG", "png", false, false},
                                           FormatCase{"Webp", "WebP", "webp", true, false},
                                           FormatCase{"Avif", "AVIF", "avif", false, false},
                                           FormatCase{"Jxl", "JPEG XL", "jxl", true, false}),
                         CaseName);

class NullHost final : public JobHost {
public:
    void AppendLog(const std::string&) override {}
    void ShowError(const std::string&) override {}
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}
};

// With the new choices untouched the window writes the very file it wrote before them: the
// job's plain baseline JPEG.
TEST_F(MainFormOutputFormatTest, TheDefaultsWriteThePlainJpeg)
{
    const std::string folder = MakePictures("photos", {"a.jpg"}, 40, 30);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ClickItem(0);
    QTest::keyClick(&form, Qt::Key_F9);

    JobOptions plain;
    plain.size = form.CurrentJobOptions().size;
    const std::filesystem::path plainFolder = Temp() / "plain";
    std::filesystem::create_directories(plainFolder);
    NullHost host;
    const JobResult expected = ProcessImage(folder + "a.jpg", plainFolder.string() + "/", plain, host);
    ASSERT_FALSE(expected.SavedPath.empty());
    const std::string written = TestSandbox::ReadFile(folder + "Output/a.jpg");
    EXPECT_EQ(written, TestSandbox::ReadFile(expected.SavedPath));
    EXPECT_FALSE(HasMarker(written, 0xC2));  // no progressive frame
}

TEST_F(MainFormOutputFormatTest, TheJpegChoicesReachTheFile)
{
    const std::string folder = MakePictures("photos", {"a.jpg"}, 40, 30);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    ClickItem(0);
    Click(form.chkOptimize);
    Click(form.chkProgressive);
    const JobOptions options = form.CurrentJobOptions();
    EXPECT_TRUE(options.optimize);
    EXPECT_TRUE(options.progressive);

    QTest::keyClick(&form, Qt::Key_F9);

    EXPECT_TRUE(HasMarker(TestSandbox::ReadFile(folder + "Output/a.jpg"), 0xC2));
}

// The limit reaches the job only while its box is checked and the output can lose detail to
// meet it; the field keeps its number throughout.
TEST_F(MainFormOutputFormatTest, TheSizeLimitAppliesOnlyToOutputsThatCanShrink)
{
    WriteQuietSettings(MakePictures("photos", {"a.jpg"}));
    TMainForm& form = StartShown();
    EXPECT_FALSE(form.spnMaxSize->isEnabled());
    EXPECT_EQ(form.CurrentJobOptions().maxSizeKB, 0);

    Click(form.chkMaxSize);
    EXPECT_TRUE(form.spnMaxSize->isEnabled());
    form.spnMaxSize->SetValue(40);
    EXPECT_EQ(form.CurrentJobOptions().maxSizeKB, 40);

    ChooseFormat(form, form.cmbOutFormat->findText(QStringLiteral("WebP")));
    EXPECT_EQ(form.CurrentJobOptions().maxSizeKB, 40);
    Click(form.chkLossless);
    EXPECT_FALSE(form.chkMaxSize->isEnabled());
    EXPECT_FALSE(form.spnMaxSize->isEnabled());
    JobOptions options = form.CurrentJobOptions();
    EXPECT_TRUE(options.lossless);
    EXPECT_EQ(options.maxSizeKB, 0);

    // Lossless is WebP's own choice: AVIF has none, so the limit holds again.
    ChooseFormat(form, form.cmbOutFormat->findText(QStringLiteral("AVIF")));
    EXPECT_TRUE(form.spnMaxSize->isEnabled());
    EXPECT_EQ(form.CurrentJobOptions().maxSizeKB, 40);

    ChooseFormat(form, form.cmbOutFormat->findText(QStringLiteral("PNG")));
    EXPECT_FALSE(form.chkMaxSize->isEnabled());
    EXPECT_EQ(form.CurrentJobOptions().maxSizeKB, 0);
    EXPECT_EQ(form.spnMaxSize->Value(), 40);
}

}  // namespace
}  // namespace selvane::test
