// Batches on all processor cores, held against the same batch one by one: the log, the
// files, the boxes and the preview; Abort and a close during them; no second job started
// while one waits; and the progress beside the status bar, in both ways of running.
#include "MainFormFixture.h"
#include "tests/support/DoubleClick.h"

#include "ui/widgets/PreviewImage.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

namespace selvane::test {
namespace {

using MainFormAllCoresTest = MainFormTest;

// The log's lines after the last batch's header, whose time differs from run to run.
std::vector<std::string> LastBatchLines(const std::vector<std::string>& lines)
{
    const auto header = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
        return line.ends_with(" NEW BATCH JOB STARTED");
    });
    return {header.base(), lines.end()};
}

std::vector<std::string> MessageTexts(const MessageRecorder& recorder)
{
    std::vector<std::string> texts;
    for (const RecordedMessage& message : recorder.messages) texts.push_back(message.text);
    return texts;
}

int CountEndingWith(const std::vector<std::string>& lines, const std::string& tail)
{
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& line) { return line.ends_with(tail); }));
}

TEST_F(MainFormAllCoresTest, GivesTheLogFilesBoxesAndPreviewOfTheBatchOneByOne)
{
    // a.jpg and a.png both give Output/a.jpg, broken.jpg holds no picture, and z.png, the
    // last, has a shape of its own.
    const std::string folder = MakePictures("photos", {"a.jpg", "a.png", "b.jpg", "c.jpg"}, 300, 200);
    MakePictures("photos", {"z.png"}, 60, 90);
    TestSandbox::WriteFile(folder + "broken.jpg", "not a picture");
    WriteQuietSettings(folder, "chkAllCores=0\n");
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    ASSERT_EQ(form.FileList->SelectedCount(), 6);

    QTest::keyClick(&form, Qt::Key_F9);
    const std::vector<std::string> oneByOne = LastBatchLines(LogLines());
    const std::map<std::string, std::string> oneByOneFiles = FilesIn(folder + "Output");
    const std::vector<std::string> oneByOneBoxes = MessageTexts(recorder_);
    EXPECT_EQ(CountEndingWith(oneByOne, "Output/a.jpg"), 2);
    // Only the last picture stands upright.
    const auto showsTheLast = [&form] {
        const QSize shown = form.imgLoader->Picture().size();
        return shown.height() > shown.width();
    };
    EXPECT_TRUE(showsTheLast());
    std::filesystem::remove_all(folder + "Output");
    recorder_.messages.clear();
    form.imgLoader->SetPicture(QImage());

    form.PageControl->setCurrentWidget(form.tabSettings);
    QTest::mouseClick(form.chkAllCores, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(form.chkAllCores->isChecked());
    form.PageControl->setCurrentWidget(form.tabResizer);
    QTest::keyClick(&form, Qt::Key_F9);

    EXPECT_EQ(LastBatchLines(LogLines()), oneByOne);
    EXPECT_EQ(FilesIn(folder + "Output"), oneByOneFiles);
    EXPECT_EQ(MessageTexts(recorder_), oneByOneBoxes);
    EXPECT_TRUE(showsTheLast());
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in ")) << form.StatusText().toStdString();
    EXPECT_TRUE(form.actStart->isEnabled());
    EXPECT_FALSE(form.actAbort->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A picture larger than the preview is kept shrunk to the preview's box as the batch found
// it, with its colours.
TEST_F(MainFormAllCoresTest, KeepsLargePicturesShrunkToThePreview)
{
    const std::string folder = MakePictures("photos", {"a.png", "b.png", "c.png"}, 2400, 1200);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    const QSize box = form.imgLoader->size() * form.imgLoader->devicePixelRatio();

    QTest::keyClick(&form, Qt::Key_F9);

    const QImage shown = form.imgLoader->Picture();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(2400, 1200).scaled(box, Qt::KeepAspectRatio))
        << box.width() << "x" << box.height();
    for (const QPoint at : {QPoint(0, 0), QPoint(shown.width() / 2, shown.height() / 2),
                            QPoint(shown.width() - 1, shown.height() - 1)}) {
        const QColor colour = shown.pixelColor(at);
        EXPECT_EQ(colour, QColor(40, 120, 200)) << at.x() << "," << at.y();
    }
}

class AllCoresStopTest : public MainFormTest, public ::testing::WithParamInterface<StopCase> {};

TEST_P(AllCoresStopTest, EndsAbortedWithEveryWrittenFileLogged)
{
    const std::string folder = StartBatchStoppedBy(GetParam().stop);
    TMainForm& form = Form();

    QTest::keyClick(&form, Qt::Key_F9);

    const auto lines = LogLines();
    EXPECT_EQ(lines.back(), "Process aborted.");
    std::set<std::string> logged;
    for (const std::string& line : lines)
        if (line.starts_with(kSavedLinePrefix))
            logged.insert(line.substr(std::string(kSavedLinePrefix).size()));
    std::set<std::string> written;
    for (const auto& [name, bytes] : FilesIn(folder + "Output")) written.insert(folder + "Output/" + name);
    EXPECT_EQ(logged, written);
    EXPECT_LT(written.size(), kStoppedBatchSize);
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in "));
    EXPECT_FALSE(form.actAbort->isEnabled());
    EXPECT_EQ(form.IsClosed(), GetParam().closes);
}

INSTANTIATE_TEST_SUITE_P(Ways, AllCoresStopTest, ::testing::ValuesIn(kStopCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The window answers while the pictures are resized, but Start and a double-click wait
// for the batch to end.
TEST_F(MainFormAllCoresTest, NoOtherJobStartsWhileTheBatchWaits)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"}, 600, 400);
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    WhenLogShows(form, kSavedLinePrefix, [this, &form] {
        QTest::keyClick(&form, Qt::Key_F9);
        DoubleClick(form.FileList->viewport(), ItemRect(2).center());
    });

    QTest::keyClick(&form, Qt::Key_F9);

    const auto lines = LogLines();
    EXPECT_EQ(CountEndingWith(lines, " NEW BATCH JOB STARTED"), 1);
    EXPECT_EQ(CountEndingWith(lines, " RESIZING SINGLE IMAGE"), 0);
    EXPECT_EQ(CountEndingWith(lines, ".jpg"), 3);
    EXPECT_EQ(lines.back(), kSavedLinePrefix + folder + "Output/c.jpg");
}

// Clicks arrive as a person's would, through the event queue from outside the user-interface
// thread, each when the last was answered, while eight 12-megapixel pictures are resized on
// every core; a click is answered when the page it chose shows. The bound is on the median
// click: on a shared machine any one click can wait for other programs, while a window that
// stopped answering for a picture's decode or resample would hold up most of them.
TEST_F(MainFormAllCoresTest, AnswersClicksWithin100MillisecondsWhileLargePicturesAreResized)
{
    const std::string folder = MakePictures("photos", {"a.jpg"}, 4000, 3000);
    for (char name = 'b'; name < 'i'; ++name)
        std::filesystem::copy_file(folder + "a.jpg", folder + std::string(1, name) + ".jpg");
    WriteQuietSettings(folder);
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    QTabBar* tabs = form.PageControl->tabBar();
    const int resizerTab = form.PageControl->indexOf(form.tabResizer);
    const int logTab = form.PageControl->indexOf(form.tabLog);

    using Clock = std::chrono::steady_clock;
    std::atomic<bool> batchRunning = false;
    std::atomic<int> posted = 0;
    std::atomic<int> answered = 0;
    std::vector<double> latencies;  // milliseconds, written on this thread only
    const auto click = [&](Clock::time_point postedAt) {
        const int target = form.PageControl->currentIndex() == logTab ? resizerTab : logTab;
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(target).center());
        if (form.PageControl->currentIndex() == target)
            latencies.push_back(std::chrono::duration<double, std::milli>(Clock::now() - postedAt).count());
        ++answered;
    };
    std::thread clicker;
    // Starts clicking once the batch has begun, so that every click falls within it.
    QObject::connect(form.proBatch, &QProgressBar::valueChanged, &form, [&] {
        if (batchRunning.exchange(true)) return;
        clicker = std::thread([&] {
            while (batchRunning) {
                const int before = posted++;
                const Clock::time_point postedAt = Clock::now();
                QMetaObject::invokeMethod(
                    &form, [&click, postedAt] { click(postedAt); }, Qt::QueuedConnection);
                while (batchRunning && answered <= before)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
    });

    QTest::keyClick(&form, Qt::Key_F9);
    batchRunning = false;
    if (clicker.joinable()) clicker.join();
    ASSERT_TRUE(WaitUntil([&] { return answered == posted; }));

    EXPECT_EQ(FilesIn(folder + "Output").size(), 8u);
    ASSERT_GE(latencies.size(), 5u) << "the batch ended before five clicks";
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2];
    EXPECT_LT(median, 100.0) << latencies.size() << " clicks, slowest " << latencies.back() << " ms";
}

class BatchProgressTest : public MainFormTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BatchProgressTest, CountsThePicturesBesideTheStatusAndGoesAtTheEnd)
{
    const std::string folder = MakePictures("photos", {"a.jpg", "b.jpg", "c.jpg"});
    WriteQuietSettings(folder, GetParam());
    TMainForm& form = StartShown();
    form.actSellAll->trigger();
    EXPECT_FALSE(form.lblBatchProgress->isVisible());
    EXPECT_FALSE(form.proBatch->isVisible());
    // What the progress shows each time a picture's line reaches the log.
    std::vector<std::string> seen;
    QObject::connect(form.Memo, &QPlainTextEdit::textChanged, &form, [&] {
        if (!LogLines().empty() && LogLines().back().starts_with(kSavedLinePrefix) &&
            form.lblBatchProgress->isVisible() && form.proBatch->isVisible())
            seen.push_back(form.lblBatchProgress->text().toStdString() + ", " +
                           std::to_string(form.proBatch->value()) + "/" +
                           std::to_string(form.proBatch->maximum()));
    });

    QTest::keyClick(&form, Qt::Key_F9);

    seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"Resizing picture 1 of 3, 0/3", "Resizing picture 2 of 3, 1/3",
                                              "Resizing picture 3 of 3, 2/3"}));
    EXPECT_FALSE(form.lblBatchProgress->isVisible());
    EXPECT_FALSE(form.proBatch->isVisible());
    EXPECT_TRUE(form.StatusText().startsWith("Batch job done in ")) << form.StatusText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Ways, BatchProgressTest, ::testing::Values("chkAllCores=0\n", "chkAllCores=1\n"),
                         [](const auto& row) {
                             return std::string(row.param).find('1') != std::string::npos ? "AllCores"
                                                                                          : "OneByOne";
                         });

}  // namespace
}  // namespace selvane::test
