// The window's update prompts against a loopback site: the status texts of each outcome and
// the question after a download.
#include "MainFormFixture.h"

#include "ModalBoxAnswer.h"
#include "tests/support/LoopbackHttpServer.h"
#include "ui/mainform/LocalDateTime.h"
#include "util/ShortDate.h"

#include <QAction>

namespace selvane::test {
namespace {

class MainFormUpdateTest : public MainFormTest {
protected:
    void ServeUpdate(const std::string& version)
    {
        test::ScriptedReply page;
        page.body =
            "<html><head>\r\n<meta name=\"TessaroProduct\" content=\"Selvane Image Resizer\">\r\n"
            "<meta name=\"TessaroVersion\" content=\"" +
            version +
            "\">\r\n"
            "<meta name=\"TessaroDownload\" content=\"" +
            server_.Url("/setup.exe") +
            "\">\r\n"
            "<meta name=\"TessaroClientSideName\" content=\"SelvaneSetup.exe\">\r\n</head></html>\r\n";
        server_.Serve("/download-selvane/index.html", page);
        test::ScriptedReply setup;
        setup.body = "new setup";
        server_.Serve("/setup.exe", setup);
    }

    TMainForm& StartAgainstServer()
    {
        form_ = std::make_unique<TMainForm>(server_.Url("/download-selvane/index.html"));
        form_->InitMainWindow();
        return *form_;
    }

    test::LoopbackHttpServer server_;
};

TEST_F(MainFormUpdateTest, ADownloadedUpdateIsOfferedInAQuestion)
{
    ServeUpdate("9.0");
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartAgainstServer();
    EXPECT_EQ(server_.RequestsFor("/download-selvane/index.html"), 0u);
    const double before = form.LastCheck;

    ModalBoxAnswer answer(QMessageBox::No);
    form.mnuUpdates->trigger();

    EXPECT_EQ(form.StatusText(), "A new version was found: 9.0   |    Your current version is: 1.5.3.56");
    EXPECT_EQ(TestSandbox::ReadFile(Temp() / "SelvaneSetup.exe"), "new setup");
    ASSERT_TRUE(answer.Seen());
    EXPECT_EQ(answer.Seen()->title, "Information");
    EXPECT_EQ(answer.Seen()->icon, QMessageBox::Information);
    EXPECT_EQ(answer.Seen()->buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(answer.Seen()->text.toStdString(),
              "Update has been downloaded to \n     " + Temp().string() +
                  "/\nDon't forget to close this program, before running the update!\n\n"
                  "Do you want to open this folder for you?");
    EXPECT_TRUE(opened_.empty());
    EXPECT_GT(form.LastCheck, before);
}

TEST_F(MainFormUpdateTest, YesOpensTheUpdatesFolderWhenTheTemporaryFolderHasTheFile)
{
    ServeUpdate("2.0");
    TestSandbox::WriteFile(Temp() / "SelvaneSetup.exe", "older");
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartAgainstServer();

    ModalBoxAnswer answer(QMessageBox::Yes);
    form.mnuUpdates->trigger();

    const std::string updates = ProgramFolder().string() + "/Updates/";
    EXPECT_EQ(TestSandbox::ReadFile(updates + "SelvaneSetup.exe"), "new setup");
    EXPECT_EQ(TestSandbox::ReadFile(Temp() / "SelvaneSetup.exe"), "older");
    ASSERT_TRUE(answer.Seen());
    EXPECT_NE(answer.Seen()->text.toStdString().find("\n     " + updates + "\n"), std::string::npos);
    EXPECT_EQ(opened_, std::vector<std::string>{updates});
}

TEST_F(MainFormUpdateTest, NoNewerVersionSaysSo)
{
    ServeUpdate("1.5.3.56");
    WriteSettings("[Updates]\nspnAutoUpdate=0\n");
    TMainForm& form = StartAgainstServer();
    form.mnuUpdates->trigger();
    EXPECT_EQ(form.StatusText(), "Updating: no updates available at this time.");
}

struct DueCase {
    int interval;
    int daysSinceCheck;
    bool checks;
};

class AutomaticCheckTest : public MainFormUpdateTest, public ::testing::WithParamInterface<DueCase> {};

TEST_P(AutomaticCheckTest, RunsAtStartOnlyWhenDue)
{
    ServeUpdate("1.0");
    const double lastCheck = std::floor(LocalNowAsDays()) - GetParam().daysSinceCheck;
    WriteSettings("[Updates]\nspnAutoUpdate=" + std::to_string(GetParam().interval) +
                  "\nLastCheck=" + FormatShortDate(lastCheck) + "\n");
    TMainForm& form = StartAgainstServer();
    EXPECT_EQ(server_.RequestsFor("/download-selvane/index.html"), GetParam().checks ? 1u : 0u);
    if (GetParam().checks) {
        EXPECT_EQ(form.StatusText(), "Updating: no updates available at this time.");
    } else {
        EXPECT_EQ(form.LastCheck, lastCheck);
    }
}

INSTANTIATE_TEST_SUITE_P(Intervals, AutomaticCheckTest,
                         ::testing::Values(DueCase{0, 400, false}, DueCase{4, 3, false}, DueCase{4, 4, true},
                                           DueCase{1, 1, true}, DueCase{365, 30, false}),
                         [](const auto& row) {
                             return "Every" + std::to_string(row.param.interval) + "DaysChecked" +
                                    std::to_string(row.param.daysSinceCheck) + "DaysAgo";
                         });

}  // namespace
}  // namespace selvane::test
