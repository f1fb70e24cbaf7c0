// The batch's progress on the desktop's task bar, heard on a session bus of the test's own:
// the fraction after every picture in both ways of running, hidden however the batch ends,
// and no trace of it where there is no session bus.
#include "MainFormFixture.h"
#include "PrivateSessionBus.h"

#include <QPushButton>

#include <mutex>

namespace selvane::test {
namespace {

const std::string kAppUri = std::string("application://") + SELVANE_APP_ID + ".desktop";

std::vector<std::string> ExpectedUpdates(const std::vector<const char*>& states)
{
    std::vector<std::string> updates;
    for (const char* state : states) updates.push_back(kAppUri + " " + state);
    return updates;
}

class TaskBarProgressTest : public MainFormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TaskBarProgressTest, ShowsTheShareOfPicturesDoneAndHidesAtTheEnd)
{
    PrivateSessionBus bus(Temp());
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"});
    WriteQuietSettings(folder, GetParam());
    TMainForm& form = StartShown();
    form.actSellAll->trigger();

    QTest::keyClick(&form, Qt::Key_F9);

    ASSERT_TRUE(WaitUntil([&] { return bus.Updates().size() >= 5; }));
    EXPECT_EQ(bus.Updates(),
              ExpectedUpdates({"0.00 shown", "0.33 shown", "0.67 shown", "1.00 shown", "- hidden"}));
    EXPECT_EQ(FilesIn(folder + "Output").size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Ways, TaskBarProgressTest, ::testing::Values("chkAllCores=0\n", "chkAllCores=1\n"),
                         [](const auto& row) {
                             return std::string(row.param).find('1') != std::string::npos ? "AllCores"
                                                                                          : "OneByOne";
                         });

class TaskBarProgressStopTest : public MainFormTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(TaskBarProgressStopTest, HidesWhenTheBatchStopsEarly)
{
    PrivateSessionBus bus(Temp());
    StartBatchStoppedBy(GetParam().stop);

    QTest::keyClick(&Form(), Qt::Key_F9);

    ASSERT_TRUE(
        WaitUntil([&] { return !bus.Updates().empty() && bus.Updates().back().ends_with(" hidden"); }));
    EXPECT_EQ(bus.Updates().front(), kAppUri + " 0.00 shown");
    EXPECT_LT(bus.Updates().size(), kStoppedBatchSize + 2) << "the batch ran to its end";
    EXPECT_EQ(bus.Updates().back(), kAppUri + " - hidden");
    EXPECT_EQ(LogLines().back(), "Process aborted.");
}

INSTANTIATE_TEST_SUITE_P(Ways, TaskBarProgressStopTest, ::testing::ValuesIn(kStopCases),
                         [](const auto& row) { return std::string(row.param.name); });

// Qt's messages, from any thread, while the object lives, but for the platform's own.
class QtMessageRecorder {
public:
    QtMessageRecorder() { previous_ = qInstallMessageHandler(&Record); }
    ~QtMessageRecorder() { qInstallMessageHandler(previous_); }

    QtMessageRecorder(const QtMessageRecorder&) = delete;
    QtMessageRecorder& operator=(const QtMessageRecorder&) = delete;

    static std::vector<std::string> Messages()
    {
        const std::lock_guard lock(mutex_);
        return messages_;
    }

private:
    static void Record(QtMsgType, const QMessageLogContext& context, const QString& text)
    {
        // The offscreen platform's note whenever a window's layout changes.
        if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
        const std::lock_guard lock(mutex_);
        messages_.push_back(
            std::string(context.category ? context.category : "").append(": ").append(text.toStdString()));
    }

    static inline std::mutex mutex_;
    static inline std::vector<std::string> messages_;
    QtMessageHandler previous_ = nullptr;
};

using MainFormTaskBarTest = MainFormTest;

TEST_F(MainFormTaskBarTest, WithoutASessionBusTheBatchRunsAndNothingIsPrinted)
{
    const ScopedEnvironment noBus("DBUS_SESSION_BUS_ADDRESS",
                                  QByteArray("unix:path=") + (Temp() / "no-bus-here").string().c_str());
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg"});
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    const QtMessageRecorder messages;

    QTest::keyClick(&form, Qt::Key_F9);

    EXPECT_EQ(FilesIn(folder + "Output").size(), 2u);
    EXPECT_EQ(LogLines().back(), kSavedLinePrefix + folder + "Output/b.jpg");
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in ")) << form.StatusText().toStdString();
    EXPECT_TRUE(recorder_.messages.empty());
    for (const std::string& message : QtMessageRecorder::Messages()) ADD_FAILURE() << message;
}

}  // namespace
}  // namespace selvane::test
