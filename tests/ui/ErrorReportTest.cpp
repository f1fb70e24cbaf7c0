// The top-level error handler: an error that escapes a handler is shown, written to the
// error report with a time stamp, and the program goes on.
#include "MainFormFixture.h"

#include "ui/ErrorReport.h"

#include <QAction>
#include <QEvent>

#include <cctype>
#include <stdexcept>

namespace selvane::test {
namespace {

// One line of the error report: "YYYY-MM-DD HH:MM:SS " and the message.
bool IsReportLine(const std::string& line, const std::string& message)
{
    const std::string stamp = "dddd-dd-dd dd:dd:dd ";
    if (line.size() != stamp.size() + message.size() + 1 ||
        line.compare(stamp.size(), std::string::npos, message + "\n") != 0)
        return false;
    for (std::size_t i = 0; i < stamp.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
        if (stamp[i] == 'd' ? !digit : line[i] != stamp[i]) return false;
    }
    return true;
}

class ThrowingObject : public QObject {
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User) throw std::runtime_error("the handler failed");
        return QObject::event(event);
    }
};

TEST_F(MainFormTest, AnErrorEscapingAnEventHandlerIsReportedAndTheProgramGoesOn)
{
    ThrowingObject object;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(recorder_.messages[0].text, "the handler failed");
    const std::string report = TestSandbox::ReadFile(SettingsFolder() / kErrorReportFileName);
    EXPECT_TRUE(IsReportLine(report, "the handler failed")) << report;

    // The next event is delivered as usual.
    QEvent other(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &other));
    EXPECT_EQ(recorder_.messages.size(), 2u);
}

TEST_F(MainFormTest, AnErrorDuringTheStartIsReportedAndTheStartGoesOn)
{
    const std::string folder = MakePictures("photos", {"a.jpg"});
    WriteSettings("[Updates]\nspnAutoUpdate=1\n[Settings]\nLastPath=" + folder + "\n");
    form_ = std::make_unique<TMainForm>(closedPort_.Url("/download-selvane/index.html"));
    // The automatic check fails against the closed port; a handler that throws then.
    form_->WebUpdate.OnDownloadError = [] { throw std::runtime_error("cannot report the update error"); };
    form_->InitMainWindow();

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text, "cannot report the update error");
    EXPECT_NE(
        TestSandbox::ReadFile(SettingsFolder() / kErrorReportFileName).find("cannot report the update error"),
        std::string::npos);
    // The step after the check still ran.
    EXPECT_TRUE(form_->FileList->ItemSelected(0));
}

TEST_F(MainFormTest, AnErrorEscapingAJobStillRestoresTheCommands)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(folder, "spnRound=1\nspnZecimal=0\n");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    // The job's error box itself fails, so an error leaves the job.
    recorder_.BeforeEach([](const RecordedMessage& message) {
        if (message.text.starts_with("Invalid")) throw std::runtime_error("the box could not be shown");
    });

    QTest::keyClick(&form, Qt::Key_F9);

    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].text, "the box could not be shown");
    EXPECT_TRUE(form.actStart->isEnabled());
    EXPECT_FALSE(form.actAbort->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in "));
}

}  // namespace
}  // namespace selvane::test
