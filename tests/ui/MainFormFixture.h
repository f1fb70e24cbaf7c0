// The main window under test: a sandbox for HOME, TMPDIR and the XDG folders, the program
// pretending to live in the sandbox's bin folder and to run without administrator rights
// (so the settings file is in the sandbox's configuration folder), message boxes and shell
// requests recorded instead of shown, and the maker's site on a loopback port that refuses
// connections, so no test reaches the network.
#pragma once

#include "engine/codec/JpegEncoder.h"
#include "engine/Raster.h"
#include "platform/Administrator.h"
#include "platform/ProgramPath.h"
#include "source/PathEdit.h"
#include "source/TessaroFileList.h"
#include "tests/support/ClosedPort.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestSandbox.h"
#include "ui/mainform/MainForm.h"
#include "ui/mainform/SettingsFile.h"
#include "util/MessageHandler.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace selvane::test {

// Lets events through until condition holds; false if it still does not after a generous
// time (a safety net for a broken build, not a timing assertion).
inline bool WaitUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(30000);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}

// Every file of the folder, by name, with its bytes.
inline std::map<std::string, std::string> FilesIn(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = TestSandbox::ReadFile(entry.path());
    return files;
}

// Runs action once, as soon as the log holds a line that begins with prefix; the action
// goes through the event queue, as a person's click during the batch would.
inline void WhenLogShows(TMainForm& form, const std::string& prefix, std::function<void()> action)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection =
        QObject::connect(form.Memo, &QPlainTextEdit::textChanged, &form, [&form, prefix, action, connection] {
            if (!form.Memo->toPlainText().contains(QString::fromStdString(prefix))) return;
            QObject::disconnect(*connection);
            QMetaObject::invokeMethod(&form, action, Qt::QueuedConnection);
        });
}

// The ways a person stops a batch: Abort, and closing the window.
struct StopCase {
    const char* name;
    void (*stop)(TMainForm&);
    bool closes;
};
inline const StopCase kStopCases[] = {
    {"AbortButton", [](TMainForm& form) { QTest::mouseClick(form.btnAbort, Qt::LeftButton); }, false},
    {"WindowClose", [](TMainForm& form) { form.close(); }, true},
};

class MainFormTest : public ::testing::Test {
protected:
    MainFormTest()
    {
        sandbox_.RedirectTemp();
        std::filesystem::create_directories(ProgramFolder());
        std::filesystem::create_directories(Desktop());
        platform::OverrideAdministratorForTesting(false);
        platform::OverrideProgramPathForTesting((ProgramFolder() / "selvane-resizer").string());
        SetShellOpenHandler([this](const std::string& target) { opened_.push_back(target); });
    }

    ~MainFormTest() override
    {
        form_.reset();
        SetShellOpenHandler({});
        platform::OverrideProgramPathForTesting(std::nullopt);
        platform::OverrideAdministratorForTesting(std::nullopt);
    }

    std::filesystem::path Temp() const { return sandbox_.Temp(); }
    std::filesystem::path ProgramFolder() const { return sandbox_.Root() / "bin"; }
    std::filesystem::path Desktop() const { return sandbox_.Home() / "Desktop"; }
    std::filesystem::path SettingsFolder() const
    {
        return sandbox_.Home() / ".config" / kSettingsProgramName;
    }
    std::filesystem::path SettingsPath() const { return SettingsFolder() / kSettingsFileName; }

    void WriteSettings(const std::string& text) const { TestSandbox::WriteFile(SettingsPath(), text); }

    // Section/key -> value of every key line in the settings file.
    std::map<std::string, std::string> ReadSettings() const
    {
        std::map<std::string, std::string> keys;
        std::istringstream lines(TestSandbox::ReadFile(SettingsPath()));
        std::string line, section;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > 1 && line.front() == '[') section = line.substr(1, line.size() - 2);
            else if (const auto equals = line.find('='); equals != std::string::npos)
                keys[section + "/" + line.substr(0, equals)] = line.substr(equals + 1);
        }
        return keys;
    }

    // A folder of real pictures (JPEG, or PNG for names ending in ".png"), each w x h.
    std::string MakePictures(const std::string& name, const std::vector<std::string>& files, int width = 40,
                             int height = 30) const
    {
        const std::filesystem::path folder = sandbox_.Root() / name;
        std::filesystem::create_directories(folder);
        for (const std::string& file : files) {
            const std::string path = (folder / file).string();
            if (path.ends_with(".png")) {
                QImage image(width, height, QImage::Format_RGB32);
                image.fill(QColor(40, 120, 200));
                image.save(QString::fromStdString(path), "PNG");
                continue;
            }
            Raster raster(width, height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width * 3; ++x)
                    raster.Row(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 3);
            WriteJpegFile(raster, 90, path);
        }
        return folder.string() + "/";
    }

    // Settings that keep the start quiet: no automatic update check, the resizer page, and
    // the given folder in the path edit.
    void WriteQuietSettings(const std::string& folder, const std::string& extra = "") const
    {
        WriteSettings("[WindowState]\nLast_used_tab=0\n[Updates]\nspnAutoUpdate=0\n[Settings]\nLastPath=" +
                      folder + "\n" + extra);
    }

    TMainForm& Start()
    {
        form_ = std::make_unique<TMainForm>(closedPort_.Url("/download-selvane/index.html"));
        form_->InitMainWindow();
        return *form_;
    }

    // Start, then show the window and make it the active one, as a person finds it.
    TMainForm& StartShown()
    {
        Start();
        form_->show();
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        return *form_;
    }

    TMainForm& Form() { return *form_; }

    QRect ItemRect(int row) const
    {
        QListWidget* list = form_->FileList;
        return list->visualRect(list->model()->index(row, 0));
    }

    void ClickItem(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form_->FileList->viewport(), button, modifiers, ItemRect(row).center());
    }

    // Pictures enough, and large enough, that a batch of them is still running when its
    // first picture is saved: all selected in a shown window that runs stop (through the
    // event queue, as a click would come) once the log shows that save. Their folder.
    static constexpr std::size_t kStoppedBatchSize = 8;
    std::string StartBatchStoppedBy(void (*stop)(TMainForm&))
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < kStoppedBatchSize; ++i)
            names.push_back(std::string(1, char('a' + i)) + ".jpg");
        const std::string folder = MakePictures("photos", names, 1500, 1000);
        WriteQuietSettings(folder);
        TMainForm& form = StartShown();
        form.actSellAll->trigger();
        WhenLogShows(form, kSavedLinePrefix, [&form, stop] { stop(form); });
        return folder;
    }

    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> lines;
        std::istringstream text(form_->Memo->toPlainText().toStdString());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    MessageRecorder recorder_;
    std::vector<std::string> opened_;
    TestSandbox sandbox_;
    test::ClosedPort closedPort_;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace selvane::test
