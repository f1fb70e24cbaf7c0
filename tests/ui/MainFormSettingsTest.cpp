// The first start, and the settings file loaded into the controls and saved from them.
#include "MainFormFixture.h"

#include "ui/mainform/LocalDateTime.h"
#include "util/ShortDate.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"

namespace selvane::test {
namespace {

using MainFormSettingsTest = MainFormTest;

TEST_F(MainFormSettingsTest, FirstRunOpensWithTheDefaultsOnTheResizerPage)
{
    TMainForm& form = Start();

    EXPECT_TRUE(form.FirstRun);
    EXPECT_EQ(form.PageControl->currentWidget(), form.tabResizer);
    EXPECT_FALSE(form.isMaximized());
    EXPECT_EQ(form.pos(), QPoint(341, 69));
    EXPECT_EQ(form.width(), 874);
    EXPECT_TRUE(form.radXDecrease->isChecked());
    EXPECT_EQ(form.trkQuality->value(), 74);
    EXPECT_EQ(form.cmbResampleQ->currentText(), "B-Spline");
    EXPECT_EQ(form.spnHideHint->Value(), 3100);
    EXPECT_EQ(form.spnOpacity->Value(), 255);
    EXPECT_EQ(form.spnAutoUpdate->Value(), 4);
    EXPECT_EQ(form.spnWidth->Value(), 200);
    EXPECT_EQ(form.spnHeight->Value(), 10);
    EXPECT_EQ(form.spnWH->Value(), 600);
    EXPECT_EQ(form.spnRound->Value(), 2);
    EXPECT_EQ(form.spnZecimal->Value(), 0);
    for (QCheckBox* on : {form.chkTrayIcon, form.chkPreview, form.chkSkins, form.chkProtect,
                          form.chkOverwrite, form.chkAutoOrient, form.chkKeepMetadata, form.chkAllCores})
        EXPECT_TRUE(on->isChecked()) << on->objectName().toStdString();
    for (QCheckBox* off : {form.chkSounds, form.chkAutoStartUp, form.chkAddFltName, form.chkToSrgb,
                           form.chkStripGps, form.chkSubfolders})
        EXPECT_FALSE(off->isChecked()) << off->objectName().toStdString();
    EXPECT_TRUE(form.radHintsTooltips->isChecked());
    EXPECT_EQ(form.edtPath->text().toStdString(), sandbox_.Home().string() + "/");
    EXPECT_EQ(form.Memo->toPlainText(), TMainForm::Greeting());
    EXPECT_TRUE(form.Memo->toPlainText().startsWith("Please visit our web site from more downloads.\n"));

    const std::string shortcut = TestSandbox::ReadFile(Desktop() / "Selvane Image Resizer.desktop");
    EXPECT_NE(shortcut.find((ProgramFolder() / "selvane-resizer").string()), std::string::npos) << shortcut;

    // The automatic check ran before the window was shown: the site refused the connection.
    EXPECT_EQ(form.StatusText(),
              "Updating: error contacting the web site. Please manually check for updates.");
    EXPECT_GT(form.LastCheck, 0);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(recorder_.messages.empty());
}

TEST_F(MainFormSettingsTest, EveryKeyRoundTripsThroughLoadAndSave)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    const std::string lastCheck = FormatShortDate(45000);
    const std::map<std::string, std::string> stored = {
        {"WindowState/Last_used_tab", "2"}, {"WindowState/Left", "120"},
        {"WindowState/Top", "90"},          {"WindowState/Width", "810"},
        {"WindowState/Height", "640"},      {"WindowState/Maximized", "0"},
        {"Resize/radXDecrease", "0"},       {"Resize/radXIncrease", "0"},
        {"Resize/radSameHeight", "0"},      {"Resize/radSameWidth", "0"},
        {"Resize/radSameSize", "0"},        {"Resize/radFitBox", "0"},
        {"Resize/radLongSide", "0"},        {"Resize/radShortSide", "0"},
        {"Resize/radPercent", "1"},         {"Resize/spnFitWidth", "640"},
        {"Resize/spnFitHeight", "20000"},   {"Resize/spnPercent", "1"},
        {"Resize/chkNoEnlarge", "1"},       {"Updates/LastCheck", lastCheck},
        {"Updates/spnAutoUpdate", "0"},     {"Settings/trkQuality", "88"},
        {"Settings/spnHideHint", "5200"},   {"Settings/spnOpacity", "201"},
        {"Settings/spnWidth", "1024"},      {"Settings/cmbResampleQ", "3"},
        {"Settings/spnWH", "-7"},           {"Settings/spnRound", "7"},
        {"Settings/spnZecimal", "4"},       {"Settings/chkTrayIcon", "0"},
        {"Settings/chkPreview", "0"},       {"Settings/chkSkins", "0"},
        {"Settings/chkSounds", "1"},        {"Settings/radHintsOff", "0"},
        {"Settings/radHintsTooltips", "0"}, {"Settings/radHintsStatBar", "1"},
        {"Settings/chkAutoStartUp", "0"},   {"Settings/chkProtect", "0"},
        {"Settings/chkOverwrite", "0"},     {"Settings/chkAutoOrient", "0"},
        {"Settings/chkToSrgb", "1"},        {"Settings/chkKeepMetadata", "0"},
        {"Settings/chkStripGps", "1"},      {"Settings/cmbOutFormat", "2"},
        {"Settings/chkLossless", "1"},      {"Settings/chkOptimize", "1"},
        {"Settings/chkProgressive", "1"},   {"Settings/chkMaxSize", "1"},
        {"Settings/spnMaxSize", "1234"},    {"Settings/edtOutFolder", "/srv/small pictures/"},
        {"Settings/chkAllCores", "0"},      {"Settings/chkSubfolders", "1"},
        {"Settings/LastPath", folder}};
    std::string text;
    std::string section;
    for (const auto& [key, value] : stored) {
        const std::string keySection = key.substr(0, key.find('/'));
        if (keySection != section) text += "[" + (section = keySection) + "]\n";
        text += key.substr(key.find('/') + 1) + "=" + value + "\n";
    }
    WriteSettings(text);

    TMainForm& form = Start();
    EXPECT_FALSE(form.FirstRun);
    EXPECT_EQ(form.PageControl->currentWidget(), form.tabSettings);
    EXPECT_EQ(form.geometry(), QRect(120, 90, 810, 640));
    EXPECT_TRUE(form.radPercent->isChecked());
    EXPECT_TRUE(form.chkNoEnlarge->isChecked());
    EXPECT_EQ(form.cmbResampleQ->currentText(), "Bell");
    EXPECT_EQ(form.lblQuality2->text(), "88");
    EXPECT_TRUE(form.radHintsStatBar->isChecked());
    // Location removal stays chosen, disabled, while photo information is not kept.
    EXPECT_FALSE(form.chkStripGps->isEnabled());
    EXPECT_EQ(form.cmbOutFormat->currentText(), "WebP");
    // The JPEG choices stay chosen, disabled, while WebP is; lossless WebP has no limit.
    EXPECT_FALSE(form.chkOptimize->isEnabled());
    EXPECT_EQ(form.CurrentJobOptions().maxSizeKB, 0);
    EXPECT_TRUE(form.FileList->Subfolders());
    EXPECT_FALSE(std::filesystem::exists(Desktop() / "Selvane Image Resizer.desktop"));
    form.close();

    EXPECT_EQ(ReadSettings(), stored);
}

// Other programs and older versions read this file: the keys keep their sections, their
// order and their spelling.
TEST_F(MainFormSettingsTest, AFirstCloseWritesTheWholeFileInItsFixedOrder)
{
    TMainForm& form = Start();
    form.close();

    const std::string expected =
        "[WindowState]\nLeft=341\nTop=69\nWidth=874\nHeight=" + std::to_string(form.height()) +
        "\nMaximized=0\nLast_used_tab=0\n"
        "[Resize]\nradXDecrease=1\nradXIncrease=0\nradSameHeight=0\nradSameWidth=0\nradSameSize=0\n"
        "radFitBox=0\nradLongSide=0\nradShortSide=0\nradPercent=0\nspnFitWidth=1920\nspnFitHeight=1080\n"
        "spnPercent=50\nchkNoEnlarge=0\n"
        "[Updates]\nspnAutoUpdate=4\nLastCheck=" +
        FormatShortDate(form.LastCheck) +
        "\n[Settings]\ntrkQuality=74\nspnHideHint=3100\nspnOpacity=255\nspnWidth=200\ncmbResampleQ=6\n"
        "spnWH=600\nspnRound=2\nspnZecimal=0\nchkPreview=1\nchkTrayIcon=1\nchkSkins=1\nchkSounds=0\n"
        "chkAllCores=1\nradHintsOff=0\nradHintsTooltips=1\nradHintsStatBar=0\nchkAutoStartUp=0\nchkProtect=1\n"
        "chkOverwrite=1\nchkAutoOrient=1\nchkToSrgb=0\nchkKeepMetadata=1\nchkStripGps=0\n"
        "cmbOutFormat=0\nchkLossless=0\nchkOptimize=0\nchkProgressive=0\nchkMaxSize=0\nspnMaxSize=500\nedtOutFolder=\n"
        "chkSubfolders=0\nLastPath=" +
        sandbox_.Home().string() + "/\n";
    EXPECT_EQ(TestSandbox::ReadFile(SettingsPath()), expected);
}

// A file from before the photo options keeps its own values and gives the new options the
// job's defaults.
TEST_F(MainFormSettingsTest, AnOlderFileGivesThePhotoOptionsTheirDefaults)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\nchkProtect=0\nchkOverwrite=0\n");
    TMainForm& form = Start();

    EXPECT_FALSE(form.chkProtect->isChecked());
    const JobOptions options = form.CurrentJobOptions();
    const JobOptions defaults;
    EXPECT_EQ(options.autoOrient, defaults.autoOrient);
    EXPECT_EQ(options.toSrgb, defaults.toSrgb);
    EXPECT_EQ(options.keepMetadata, defaults.keepMetadata);
    EXPECT_EQ(options.stripGps, defaults.stripGps);
    EXPECT_TRUE(form.chkStripGps->isEnabled());
}

// A file from before the output formats writes the plain JPEG it wrote then.
TEST_F(MainFormSettingsTest, AnOlderFileGivesTheOutputChoicesTheirDefaults)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\ntrkQuality=60\nchkStripGps=1\n");
    TMainForm& form = Start();

    EXPECT_EQ(form.cmbOutFormat->currentText(), "JPEG");
    EXPECT_FALSE(form.chkLossless->isChecked());
    EXPECT_FALSE(form.chkLossless->isEnabled());
    EXPECT_FALSE(form.chkMaxSize->isChecked());
    EXPECT_EQ(form.spnMaxSize->Value(), 500);
    EXPECT_TRUE(form.proBar->isVisibleTo(form.tabResizer));
    const JobOptions options = form.CurrentJobOptions();
    const JobOptions defaults;
    EXPECT_EQ(options.quality, 60);
    EXPECT_EQ(options.format, defaults.format);
    EXPECT_EQ(options.lossless, defaults.lossless);
    EXPECT_EQ(options.optimize, defaults.optimize);
    EXPECT_EQ(options.progressive, defaults.progressive);
    EXPECT_EQ(options.maxSizeKB, defaults.maxSizeKB);
    EXPECT_EQ(form.edtOutFolder->text(), "");
}

// A file from before the fit, side and percentage rules keeps its rule and its fields, and
// gives the new fields their defaults.
TEST_F(MainFormSettingsTest, AnOlderFileKeepsItsRuleAndGivesTheNewFieldsTheirDefaults)
{
    WriteSettings("[Resize]\nradXDecrease=0\nradXIncrease=0\nradSameHeight=0\nradSameWidth=1\nradSameSize=0\n"
                  "[Updates]\nspnAutoUpdate=0\n[Settings]\nspnWH=800\n");
    TMainForm& form = StartShown();

    EXPECT_TRUE(form.radSameWidth->isChecked());
    EXPECT_TRUE(form.spnWH->isVisibleTo(form.tabResizer));
    EXPECT_EQ(form.spnFitWidth->Value(), 1920);
    EXPECT_EQ(form.spnFitHeight->Value(), 1080);
    EXPECT_EQ(form.spnPercent->Value(), 50);
    EXPECT_FALSE(form.chkNoEnlarge->isChecked());
    EXPECT_TRUE(form.chkNoEnlarge->isEnabled());
    const SizeOptions size = form.CurrentJobOptions().size;
    EXPECT_EQ(size.rule, ResizeRule::SameWidth);
    EXPECT_EQ(size.wh, 800);
    EXPECT_EQ(size.fitWidth, 1920);
    EXPECT_EQ(size.fitHeight, 1080);
    EXPECT_EQ(size.percent, 50);
    EXPECT_FALSE(size.noEnlarge);
}

// A first start opens on the user's pictures; a stored folder that is not a full path is
// no folder at all.
TEST_F(MainFormSettingsTest, AFirstStartOpensOnThePictures)
{
    const std::filesystem::path pictures = sandbox_.Home() / "Bilder";
    std::filesystem::create_directories(pictures);
    TestSandbox::WriteFile(sandbox_.Home() / ".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\nLastPath=photos/\n");

    TMainForm& form = Start();

    EXPECT_EQ(form.edtPath->text().toStdString(), pictures.string() + "/");
}

TEST_F(MainFormSettingsTest, LeftWithoutWidthGivesTheDefaultSize)
{
    WriteSettings("[WindowState]\nLeft=30\n[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = Start();
    EXPECT_EQ(form.geometry(), QRect(30, 50, 900, 850));
}

TEST_F(MainFormSettingsTest, WithoutLeftTheWindowKeepsItsDesignedPlace)
{
    WriteSettings("[WindowState]\nTop=300\nWidth=500\n[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = Start();
    EXPECT_EQ(form.pos(), QPoint(341, 69));
    EXPECT_EQ(form.width(), 874);
}

TEST_F(MainFormSettingsTest, AMaximizedCloseKeepsTheEarlierBounds)
{
    WriteSettings(
        "[WindowState]\nLeft=60\nTop=70\nWidth=640\nHeight=480\nMaximized=1\n[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartShown();
    EXPECT_TRUE(WaitUntil([&] { return form.isMaximized(); }));
    EXPECT_EQ(form.normalGeometry(), QRect(60, 70, 640, 480));
    form.close();

    const auto saved = ReadSettings();
    EXPECT_EQ(saved.at("WindowState/Maximized"), "1");
    EXPECT_EQ(saved.at("WindowState/Left"), "60");
    EXPECT_EQ(saved.at("WindowState/Top"), "70");
    EXPECT_EQ(saved.at("WindowState/Width"), "640");
    EXPECT_EQ(saved.at("WindowState/Height"), "480");
}

TEST_F(MainFormSettingsTest, AFileWithoutAPageOpensOnTheHiddenPage)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartShown();
    EXPECT_EQ(form.PageControl->currentWidget(), form.tabThumb);
    EXPECT_TRUE(form.lblNotAvailable->isVisible());
    EXPECT_EQ(form.lblNotAvailable->text(), "Not available yet.");
    // Nothing of the hidden tab is drawn: the first tab looks as it does when another page
    // far from it is current.
    QTabBar* tabs = form.PageControl->tabBar();
    const QRect firstTab = tabs->tabRect(0).united(QRect(0, 0, 1, tabs->height()));
    const QImage withHiddenCurrent = tabs->grab(firstTab).toImage();
    form.PageControl->setCurrentWidget(form.tabLog);
    const QImage withLogCurrent = tabs->grab(firstTab).toImage();
    EXPECT_EQ(withHiddenCurrent, withLogCurrent);
    form.PageControl->setCurrentWidget(form.tabThumb);

    // Clicking a tab leaves the hidden page, which has no tab to come back by.
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    EXPECT_EQ(form.PageControl->currentWidget(), form.tabLog);
    EXPECT_FALSE(tabs->isTabVisible(1));
}

struct RadioCase {
    const char* keys;     // the Resize (or Settings) lines of the file
    const char* checked;  // the one button checked after loading
};

class LoadedRadioTest : public MainFormTest, public ::testing::WithParamInterface<RadioCase> {};

TEST_P(LoadedRadioTest, TheLastTrueKeyInLoadOrderWins)
{
    WriteSettings(std::string("[Updates]\nspnAutoUpdate=0\n") + GetParam().keys);
    TMainForm& form = Start();
    std::vector<std::string> checked;
    for (QRadioButton* radio : form.findChildren<QRadioButton*>())
        if (radio->isChecked()) checked.push_back(radio->objectName().toStdString());
    const std::string expected = GetParam().checked;
    const bool hintMode = expected.starts_with("radHints");
    EXPECT_NE(std::find(checked.begin(), checked.end(), expected), checked.end());
    EXPECT_EQ(checked.size(), 2u);  // one rule and one hint mode
    if (!hintMode) {
        EXPECT_TRUE(form.radHintsTooltips->isChecked());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LoadedRadioTest,
    ::testing::Values(RadioCase{"[Resize]\nradXIncrease=1\nradSameWidth=1\n", "radSameWidth"},
                      RadioCase{"[Resize]\nradSameSize=1\nradXDecrease=1\nradSameHeight=1\n", "radSameSize"},
                      RadioCase{"[Resize]\nradXDecrease=0\nradXIncrease=1\n", "radXIncrease"},
                      // The newer rules load after the first five.
                      RadioCase{"[Resize]\nradPercent=1\nradSameSize=1\n", "radPercent"},
                      RadioCase{"[Resize]\nradShortSide=1\nradFitBox=1\nradLongSide=1\n", "radShortSide"},
                      RadioCase{"[Resize]\nradXDecrease=0\nradFitBox=1\n", "radFitBox"},
                      // No rule marked: the default rule, so that a job can run.
                      RadioCase{"[Resize]\nradXDecrease=0\n", "radXDecrease"},
                      RadioCase{"[Settings]\nradHintsOff=1\nradHintsStatBar=1\nradHintsTooltips=0\n",
                                "radHintsStatBar"},
                      RadioCase{"[Settings]\nradHintsOff=1\nradHintsTooltips=0\n", "radHintsOff"}),
    [](const auto& row) { return std::string(row.param.checked) + std::to_string(row.index); });

struct ClampCase {
    const char* key;
    const char* stored;
    const char* control;
    int loaded;
    const char* section = "Settings";
};

class LoadedRangeTest : public MainFormTest, public ::testing::WithParamInterface<ClampCase> {};

TEST_P(LoadedRangeTest, BringsAValueIntoItsControlsRange)
{
    const ClampCase& row = GetParam();
    WriteSettings(std::string("[Updates]\nspnAutoUpdate=0\n[") + row.section + "]\n" + row.key + "=" +
                  row.stored + "\n");
    TMainForm& form = Start();
    auto* object = form.findChild<QWidget*>(row.control);
    ASSERT_NE(object, nullptr);
    if (auto* field = qobject_cast<TSpinField*>(object)) EXPECT_EQ(field->Value(), row.loaded);
    else if (auto* slider = qobject_cast<QSlider*>(object)) EXPECT_EQ(slider->value(), row.loaded);
    else if (auto* box = qobject_cast<QComboBox*>(object)) EXPECT_EQ(box->currentIndex(), row.loaded);
    else FAIL() << "unexpected control";
}

INSTANTIATE_TEST_SUITE_P(
    Values, LoadedRangeTest,
    ::testing::Values(
        ClampCase{"trkQuality", "200", "trkQuality", 95}, ClampCase{"trkQuality", "1", "trkQuality", 5},
        ClampCase{"spnOpacity", "10", "spnOpacity", 30},
        ClampCase{"spnHideHint", "50000", "spnHideHint", 20000}, ClampCase{"spnWidth", "3", "spnWidth", 10},
        ClampCase{"spnRound", "0", "spnRound", 1}, ClampCase{"spnRound", "0x1E", "spnRound", 10},
        // The field has no bounds: any stored value stays.
        ClampCase{"spnWH", "-250", "spnWH", -250}, ClampCase{"spnWH", "99999", "spnWH", 99999},
        // No filter chosen would leave a job without one: B-Spline instead.
        ClampCase{"cmbResampleQ", "9", "cmbResampleQ", 6}, ClampCase{"cmbResampleQ", "-1", "cmbResampleQ", 6},
        ClampCase{"spnFitWidth", "5", "spnFitWidth", 10, "Resize"},
        ClampCase{"spnFitHeight", "30000", "spnFitHeight", 20000, "Resize"},
        ClampCase{"spnPercent", "0", "spnPercent", 1, "Resize"},
        ClampCase{"spnPercent", "1001", "spnPercent", 1000, "Resize"},
        ClampCase{"cmbOutFormat", "5", "cmbOutFormat", 0}, ClampCase{"cmbOutFormat", "-1", "cmbOutFormat", 0},
        ClampCase{"spnMaxSize", "0", "spnMaxSize", 1},
        ClampCase{"spnMaxSize", "200000", "spnMaxSize", 100000}),
    [](const auto& row) { return std::string(row.param.key) + std::to_string(row.index); });

TEST_F(MainFormSettingsTest, AnOutOfRangeUpdateIntervalIsClamped)
{
    WriteSettings("[Updates]\nspnAutoUpdate=999\nLastCheck=" + FormatShortDate(LocalNowAsDays()) + "\n");
    TMainForm& form = Start();
    EXPECT_EQ(form.spnAutoUpdate->Value(), 365);
}

}  // namespace
}  // namespace selvane::test
