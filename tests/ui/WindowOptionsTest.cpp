// The options of the Settings page: hint modes and the status bar, the hint time, opacity,
// start at log-on, the desktop shortcut, the skin, and what loading the settings sets off.
#include "MainFormFixture.h"
#include "PageLayoutCheck.h"

#include "tests/support/CaseName.h"
#include "ui/Skin.h"
#include "ui/widgets/HintWatcher.h"
#include "ui/widgets/SpinField.h"
#include "ui/widgets/TrayIcon.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolTip>

namespace selvane::test {
namespace {

constexpr const char* kShortcutHint = "Create a shortcut to this program on desktop";

class WindowOptionsTest : public MainFormTest {
protected:
    TMainForm& StartOnSettingsPage(const std::string& extra = "")
    {
        WriteSettings("[WindowState]\nLast_used_tab=2\n[Updates]\nspnAutoUpdate=0\n[Settings]\nchkSkins=0\n" +
                      extra);
        return StartShown();
    }

    // Moves the mouse onto widget and waits until the application's hint has settled.
    void PointAt(QWidget* widget, QPoint position, const QString& expectedHint)
    {
        QTest::mouseMove(widget, position);
        EXPECT_TRUE(WaitUntil([&] { return Form().Hints->CurrentHint() == expectedHint; }))
            << "hint: " << Form().Hints->CurrentHint().toStdString();
    }

    void PointAtEmptyArea() { PointAt(Form().tabSettings, QPoint(300, 8), QString()); }
    void PointAtShortcutButton() { PointAt(Form().btnDesktopShortcut, QPoint(10, 10), kShortcutHint); }

    // Asks the widget for its tool-tip as Qt does when the mouse rests; true when one shows.
    static bool ToolTipShown(QWidget* widget)
    {
        QToolTip::hideText();
        const QPoint local(10, 10);
        QHelpEvent help(QEvent::ToolTip, local, widget->mapToGlobal(local));
        QApplication::sendEvent(widget, &help);
        return QToolTip::isVisible();
    }

    std::filesystem::path AutostartEntry() const
    {
        return sandbox_.Home() / ".config" / "autostart" / "SelvaneResizer.desktop";
    }
};

struct HintModeCase {
    const char* name;
    const char* setting;
    bool toolTips;
    bool statusBarFollows;
};

class HintModeTest : public WindowOptionsTest, public ::testing::WithParamInterface<HintModeCase> {};

TEST_P(HintModeTest, ToolTipsAndStatusBarFollowTheMode)
{
    std::string modes;
    for (const char* mode : {"radHintsOff", "radHintsTooltips", "radHintsStatBar"})
        modes += std::string(mode) + (mode == std::string(GetParam().setting) ? "=1\n" : "=0\n");
    TMainForm& form = StartOnSettingsPage(modes);
    ASSERT_TRUE(form.findChild<QRadioButton*>(GetParam().setting)->isChecked());
    PointAtEmptyArea();
    form.SetStatusText("Batch job done in 2 sec");
    PointAtShortcutButton();
    EXPECT_EQ(form.StatusText(), GetParam().statusBarFollows ? kShortcutHint : "Batch job done in 2 sec");
    EXPECT_EQ(ToolTipShown(form.btnDesktopShortcut), GetParam().toolTips);
    if (GetParam().toolTips) {
        EXPECT_EQ(QToolTip::text(), kShortcutHint);
    }
    PointAtEmptyArea();
    EXPECT_EQ(form.StatusText(), GetParam().statusBarFollows ? "" : "Batch job done in 2 sec");
    QToolTip::hideText();
}

INSTANTIATE_TEST_SUITE_P(Modes, HintModeTest,
                         ::testing::Values(HintModeCase{"Off", "radHintsOff", false, false},
                                           HintModeCase{"ToolTips", "radHintsTooltips", true, false},
                                           HintModeCase{"StatusBar", "radHintsStatBar", true, true}),
                         test::CaseName);

TEST_F(WindowOptionsTest, ANewModeTakesEffectAtTheNextChangeOfTheHint)
{
    TMainForm& form = StartOnSettingsPage("radHintsTooltips=1\n");
    PointAtShortcutButton();
    QTest::mouseClick(form.radHintsOff, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_TRUE(form.radHintsOff->isChecked());
    // The click itself brought the mouse to a control with another hint, so the mode
    // chosen by the click holds once that change has been handled.
    PointAt(form.radHintsOff, QPoint(5, 5), form.radHintsOff->toolTip());
    EXPECT_FALSE(ToolTipShown(form.btnDesktopShortcut));
    QTest::mouseClick(form.radHintsStatBar, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    PointAtShortcutButton();
    EXPECT_EQ(form.StatusText(), kShortcutHint);
    EXPECT_TRUE(ToolTipShown(form.btnDesktopShortcut));
    QToolTip::hideText();
}

TEST_F(WindowOptionsTest, AMultiLineHintStaysOnTheStatusBarsOneLine)
{
    TMainForm& form = StartOnSettingsPage("radHintsStatBar=1\nradHintsTooltips=0\n");
    const QRect pages = form.PageControl->geometry();
    const int barHeight = form.StatBar->height();
    const QString hint = form.chkProtect->toolTip();
    ASSERT_TRUE(hint.contains('\n'));
    PointAt(form.chkProtect, QPoint(5, 5), hint);

    EXPECT_EQ(form.StatusText(), QString(hint).replace('\n', ' '));
    EXPECT_EQ(form.StatBar->height(), barHeight);
    EXPECT_EQ(form.PageControl->geometry(), pages);
    const auto* line = form.StatBar->findChild<QLabel*>();
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().endsWith(QChar(0x2026))) << line->text().toStdString();  // cut to fit
}

TEST_F(WindowOptionsTest, TheStatusBarShowsMarkupAsText)
{
    TMainForm& form = StartOnSettingsPage();
    const QString version = QStringLiteral("2.<font size=7 color=red>PAID UPGRADE REQUIRED</font>");
    form.SetStatusText(version);
    const auto* line = form.StatBar->findChild<QLabel*>();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->textFormat(), Qt::PlainText);
    EXPECT_EQ(line->text(), version);
}

TEST_F(WindowOptionsTest, LoadingSetsTheHintTimeOpacityAndTraySwitch)
{
    TMainForm& form = StartOnSettingsPage("spnHideHint=800\nspnOpacity=120\nchkTrayIcon=1\n");
    EXPECT_EQ(form.Hints->HidePause(), 800);
    EXPECT_DOUBLE_EQ(form.windowOpacity(), 120 / 255.0);
    EXPECT_TRUE(form.TrayIcon->MinimizeToTray());

    QTest::mouseClick(form.chkTrayIcon, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(form.TrayIcon->MinimizeToTray());
}

TEST_F(WindowOptionsTest, TheDesignOpacityIsNotLostWhenTheFileHoldsTheSameValue)
{
    TMainForm& form = StartOnSettingsPage("spnOpacity=199\n");
    EXPECT_DOUBLE_EQ(form.windowOpacity(), 199 / 255.0);
}

struct OpacityCase {
    const char* typed;
    double whileTyped;
    double afterFocusLeaves;
};

class OpacityTest : public WindowOptionsTest, public ::testing::WithParamInterface<OpacityCase> {};

TEST_P(OpacityTest, TypedValueSetsTheBlending)
{
    TMainForm& form = StartOnSettingsPage("spnOpacity=200\n");
    form.spnOpacity->setFocus();
    QTest::keyClick(form.spnOpacity, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(form.spnOpacity, GetParam().typed);
    EXPECT_DOUBLE_EQ(form.windowOpacity(), GetParam().whileTyped);
    form.spnHideHint->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return !form.spnOpacity->hasFocus(); }));
    EXPECT_DOUBLE_EQ(form.windowOpacity(), GetParam().afterFocusLeaves);
}

INSTANTIATE_TEST_SUITE_P(Values, OpacityTest,
                         ::testing::Values(OpacityCase{"255", 1.0, 1.0},  // opaque: not layered
                                           OpacityCase{"254", 254 / 255.0, 254 / 255.0},
                                           OpacityCase{"5", 5 / 255.0, 30 / 255.0},  // the lowest once left
                                           OpacityCase{"300", 1.0, 1.0}),
                         [](const auto& row) { return std::string("Typed") + row.param.typed; });

TEST_F(WindowOptionsTest, StartWithWindowsOnThenOffLeavesNoEntry)
{
    TMainForm& form = StartOnSettingsPage();
    QTest::mouseClick(form.chkAutoStartUp, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_TRUE(form.chkAutoStartUp->isChecked());
    ASSERT_TRUE(std::filesystem::exists(AutostartEntry()));
    EXPECT_NE(TestSandbox::ReadFile(AutostartEntry()).find((ProgramFolder() / "selvane-resizer").string()),
              std::string::npos);
    QTest::mouseClick(form.chkAutoStartUp, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_FALSE(std::filesystem::exists(AutostartEntry()));
}

TEST_F(WindowOptionsTest, AStoredStartWithWindowsIsWrittenAgainForTheCurrentPath)
{
    TestSandbox::WriteFile(AutostartEntry(),
                           "[Desktop Entry]\nType=Application\nExec=\"/old/place/selvane-resizer\"\n");
    StartOnSettingsPage("chkAutoStartUp=1\n");
    const std::string entry = TestSandbox::ReadFile(AutostartEntry());
    EXPECT_EQ(entry.find("/old/place"), std::string::npos);
    EXPECT_NE(entry.find((ProgramFolder() / "selvane-resizer").string()), std::string::npos);
}

TEST_F(WindowOptionsTest, AStoredStartWithWindowsOffTouchesNothing)
{
    TestSandbox::WriteFile(AutostartEntry(), "[Desktop Entry]\nExec=\"/old/place/selvane-resizer\"\n");
    StartOnSettingsPage("chkAutoStartUp=0\n");
    EXPECT_NE(TestSandbox::ReadFile(AutostartEntry()).find("/old/place"), std::string::npos);
}

TEST_F(WindowOptionsTest, CreateShortcutTwiceLeavesOne)
{
    TMainForm& form = StartOnSettingsPage();
    QTest::mouseClick(form.btnDesktopShortcut, Qt::LeftButton);
    QTest::mouseClick(form.btnDesktopShortcut, Qt::LeftButton);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Desktop()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"Selvane Image Resizer.desktop"});
}

TEST_F(WindowOptionsTest, SkinOnAtStartGoesAtOnceWhenUnchecked)
{
    const QString before = qApp->styleSheet();
    WriteSettings("[WindowState]\nLast_used_tab=2\n[Updates]\nspnAutoUpdate=0\n[Settings]\nchkSkins=1\n");
    TMainForm& form = StartShown();
    ASSERT_FALSE(TSkinManager::StyleSheet().isEmpty());
    EXPECT_EQ(qApp->styleSheet(), TSkinManager::StyleSheet());
    QTest::mouseClick(form.chkSkins, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(qApp->styleSheet(), before);
    QTest::mouseClick(form.chkSkins, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(qApp->styleSheet(), before);
}

// The standard look comes back as the window was designed: the same font, whole captions.
TEST_F(WindowOptionsTest, UncheckingTheSkinKeepsTheDesignFontAndWholeCaptions)
{
    WriteSettings("[WindowState]\nLast_used_tab=2\n[Updates]\nspnAutoUpdate=0\n[Settings]\nchkSkins=1\n");
    TMainForm& form = StartShown();
    QTest::mouseClick(form.chkSkins, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_FALSE(form.chkSkins->isChecked());

    for (QAbstractButton* caption : std::initializer_list<QAbstractButton*>{
             form.radHintsOff, form.chkAutoStartUp, form.chkProtect, form.chkAddFltName, form.chkOverwrite}) {
        EXPECT_EQ(caption->font().pointSizeF(), 8.0) << caption->objectName().toStdString();
        EXPECT_GE(caption->width(), caption->sizeHint().width()) << caption->objectName().toStdString();
    }
    for (QLabel* label : {form.Label5, form.lblQuality1}) {
        EXPECT_EQ(label->font().pointSizeF(), 8.0) << label->objectName().toStdString();
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
    }
}

TEST_F(WindowOptionsTest, SkinOffAtStartStaysOffWhenChecked)
{
    TMainForm& form = StartOnSettingsPage();
    EXPECT_EQ(form.SkinManager, nullptr);
    QTest::mouseClick(form.chkSkins, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_TRUE(form.chkSkins->isChecked());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    form_.reset();
    EXPECT_EQ(ReadSettings()["Settings/chkSkins"], "1");
}

struct LookCase {
    const char* name;
    const char* skin;  // the chkSkins line of the file
};

class SettingsPageLayoutTest : public WindowOptionsTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(SettingsPageLayoutTest, EveryControlIsWholeAndApart)
{
    WriteSettings(std::string("[WindowState]\nLast_used_tab=2\n[Updates]\nspnAutoUpdate=0\n[Settings]\n") +
                  GetParam().skin);
    TMainForm& form = StartShown();
    ExpectWholeAndApart(form.tabSettings);
}

INSTANTIATE_TEST_SUITE_P(Looks, SettingsPageLayoutTest,
                         ::testing::Values(LookCase{"DesktopLook", "chkSkins=0\n"},
                                           LookCase{"Skin", "chkSkins=1\n"}),
                         test::CaseName);

TEST(LongHintTest, IsThePartAfterTheBar)
{
    EXPECT_EQ(GetLongHint("Short|Long text"), "Long text");
    EXPECT_EQ(GetLongHint("Whole text"), "Whole text");
    EXPECT_EQ(GetLongHint(""), "");
}

}  // namespace
}  // namespace selvane::test
