// The tray icon as the main window uses it: minimising to the notification area, the click
// that brings the window back, Exit from the icon's menu, and a desktop without a
// notification area. The click itself is raised as the icon raises it; a real click on a
// real notification area is scripts/tray-check.
#include "MainFormFixture.h"

#include "tests/support/CaseName.h"
#include "ui/SessionEnd.h"
#include "ui/widgets/TrayIcon.h"

#include <QAction>

#include <csignal>

namespace selvane::test {
namespace {

class TrayIconTest : public MainFormTest {
protected:
    ~TrayIconTest() override { TTrayIcon::OverrideTrayAvailableForTesting(std::nullopt); }

    TMainForm& StartWithTray(bool trayAvailable, bool minimizeToTray)
    {
        TTrayIcon::OverrideTrayAvailableForTesting(trayAvailable);
        WriteSettings(std::string("[Updates]\nspnAutoUpdate=0\n[Settings]\nchkSkins=0\nchkTrayIcon=") +
                      (minimizeToTray ? "1" : "0") + "\n");
        return StartShown();
    }

    // Minimises as the title bar's button does and lets the window settle.
    void Minimise()
    {
        Form().setWindowState(Form().windowState() | Qt::WindowMinimized);
        QCoreApplication::processEvents();
    }
};

TEST_F(TrayIconTest, MinimisingHidesTheWindowAndAClickBringsItBack)
{
    TMainForm& form = StartWithTray(true, true);
    EXPECT_FALSE(form.TrayIcon->IconVisible());
    Minimise();
    ASSERT_TRUE(WaitUntil([&] { return !form.isVisible(); }));
    EXPECT_TRUE(form.TrayIcon->IconVisible());

    form.TrayIcon->OnClick();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMinimized());
    EXPECT_FALSE(form.TrayIcon->IconVisible());
}

TEST_F(TrayIconTest, AMaximisedWindowComesBackMaximised)
{
    TMainForm& form = StartWithTray(true, true);
    form.showMaximized();
    ASSERT_TRUE(WaitUntil([&] { return form.isMaximized(); }));
    Minimise();
    ASSERT_TRUE(WaitUntil([&] { return !form.isVisible(); }));
    form.TrayIcon->OnClick();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isMaximized());
    EXPECT_FALSE(form.isMinimized());
}

TEST_F(TrayIconTest, ExitFromTheTrayClosesAndLeavesNoIcon)
{
    TMainForm& form = StartWithTray(true, true);
    Minimise();
    ASSERT_TRUE(WaitUntil([&] { return !form.isVisible(); }));
    ASSERT_EQ(form.TrayIcon->PopupMenu()->actions().size(), 1);
    EXPECT_EQ(form.TrayIcon->PopupMenu()->actions().front()->text(), "Exit");
    form.TrayIcon->PopupMenu()->actions().front()->trigger();
    EXPECT_TRUE(form.IsClosed());
    EXPECT_FALSE(form.TrayIcon->IconVisible());
    EXPECT_EQ(ReadSettings()["WindowState/Maximized"], "0");
}

TEST_F(TrayIconTest, TheSessionsEndFromTheTrayEndsTheProgramAsExitDoes)
{
    TMainForm& form = StartWithTray(true, true);
    TSessionEndWatcher sessionEnd;
    QObject::connect(&sessionEnd, &TSessionEndWatcher::EndRequested, &form, [&form] { form.EndSession(); });
    Minimise();
    ASSERT_TRUE(WaitUntil([&] { return form.TrayIcon->InTray(); }));

    raise(SIGTERM);

    EXPECT_TRUE(WaitUntil([&] { return form.IsClosed(); }));
    EXPECT_FALSE(form.TrayIcon->InTray());
    EXPECT_FALSE(form.TrayIcon->IconVisible());
}

struct OrdinaryMinimiseCase {
    const char* name;
    bool trayAvailable;
    bool minimizeToTray;
};

class OrdinaryMinimiseTest : public TrayIconTest,
                             public ::testing::WithParamInterface<OrdinaryMinimiseCase> {};

// Without the option, and without a notification area to hold the icon, the window stays
// on the taskbar: hiding it there would leave no way back.
TEST_P(OrdinaryMinimiseTest, WindowStaysOnTheTaskbar)
{
    TMainForm& form = StartWithTray(GetParam().trayAvailable, GetParam().minimizeToTray);
    Minimise();
    ASSERT_TRUE(WaitUntil([&] { return form.isMinimized(); }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.TrayIcon->InTray());
    EXPECT_FALSE(form.TrayIcon->IconVisible());
}

INSTANTIATE_TEST_SUITE_P(Cases, OrdinaryMinimiseTest,
                         ::testing::Values(OrdinaryMinimiseCase{"OptionOff", true, false},
                                           OrdinaryMinimiseCase{"NoNotificationArea", false, true}),
                         test::CaseName);

}  // namespace
}  // namespace selvane::test
