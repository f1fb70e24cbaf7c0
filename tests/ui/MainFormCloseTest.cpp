// Closing the window, in every way a person or the session can, saves the settings once;
// a refused save keeps the window open once; a close during a batch waits for the picture
// being processed.
#include "MainFormFixture.h"
#include "SettingsWriteCounter.h"

#include "tests/support/CaseName.h"
#include "ui/ErrorReport.h"
#include "ui/SessionEnd.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <csignal>
#include <functional>

namespace selvane::test {
namespace {

struct CloseWay {
    const char* name;
    std::function<void(TMainForm&)> close;
};

class CloseOnceTest : public MainFormTest, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(CloseOnceTest, SavesTheSettingsExactlyOnce)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartShown();
    TSessionEndWatcher sessionEnd;
    QObject::connect(&sessionEnd, &TSessionEndWatcher::EndRequested, &form, [&form] { form.EndSession(); });
    SettingsWriteCounter counter(SettingsFolder(), kSettingsFileName);

    GetParam().close(form);
    EXPECT_TRUE(WaitUntil([&] { return form.IsClosed(); }));
    EXPECT_FALSE(form.isVisible());

    const int keys = static_cast<int>(ReadSettings().size());
    EXPECT_EQ(keys, 53);
    EXPECT_EQ(counter.Renames(), keys);
    form_.reset();  // the destruction does not save again
    EXPECT_EQ(counter.Renames(), keys);
    EXPECT_TRUE(recorder_.messages.empty());
}

void ClickMenuItem(QMenuBar* bar, QMenu* menu, QAction* item)
{
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    ASSERT_TRUE(WaitUntil([menu] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseOnceTest,
    ::testing::Values(
        CloseWay{"TitleBarButton", [](TMainForm& form) { form.close(); }},
        CloseWay{"CtrlF4", [](TMainForm& form) { QTest::keyClick(&form, Qt::Key_F4, Qt::ControlModifier); }},
        CloseWay{"ExitMenuItem",
                 [](TMainForm& form) { ClickMenuItem(form.menuBar(), form.mnuOp, form.mnuExit2); }},
        CloseWay{"TrayExit", [](TMainForm& form) { form.actExit->trigger(); }},
        CloseWay{"SessionEndSignal", [](TMainForm&) { raise(SIGTERM); }},
        CloseWay{"HangUpSignal", [](TMainForm&) { raise(SIGHUP); }}),
    test::CaseName);

TEST_F(MainFormTest, DestructionWithoutACloseSaves)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    Start();
    SettingsWriteCounter counter(SettingsFolder(), kSettingsFileName);
    form_.reset();
    EXPECT_EQ(counter.Renames(), 53);
}

TEST_F(MainFormTest, ARefusedSaveKeepsTheWindowOpenOnceAndIsReported)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartShown();
    // A folder where the file should be: every write is refused, whoever runs the test.
    std::filesystem::remove(SettingsPath());
    std::filesystem::create_directory(SettingsPath());

    form.close();
    EXPECT_TRUE(form.isVisible());
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(recorder_.messages[0].caption, "Error");
    EXPECT_EQ(recorder_.messages[0].text, "Unable to write to " + SettingsPath().string());
    const std::string report = TestSandbox::ReadFile(SettingsFolder() / kErrorReportFileName);
    EXPECT_TRUE(report.ends_with(" Unable to write to " + SettingsPath().string() + "\n")) << report;

    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.IsClosed());
    EXPECT_EQ(recorder_.messages.size(), 1u);
}

}  // namespace
}  // namespace selvane::test
