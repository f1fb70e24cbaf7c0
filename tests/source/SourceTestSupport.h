// Helpers of the source widget tests: a sandbox whose folders the widgets may enter (the
// process's current folder is put back afterwards), a recorder for message boxes, and a
// way to act on a modal window once it is shown.
#pragma once

#include "platform/CurrentFolder.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/TestSandbox.h"

#include <QApplication>
#include <QListWidget>
#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace selvane::test {

class SourceTest : public ::testing::Test {
protected:
    SourceTest() : savedFolder_(platform::GetCurrentFolder()) {}

    ~SourceTest() override { platform::SetCurrentFolder(savedFolder_); }

    // A folder under the sandbox, created with its parents, spelled as the system reports
    // it once entered (no links, no trailing "/").
    std::string Folder(const std::string& relative = "") const
    {
        const std::filesystem::path path = sandbox_.Root() / "files" / relative;
        std::filesystem::create_directories(path);
        return std::filesystem::canonical(path).string();
    }

    static void Touch(const std::string& folder, const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            TestSandbox::WriteFile(std::filesystem::path(folder) / name, "x");
    }

    static void MakeFifo(const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }

    TestSandbox sandbox_;
    MessageRecorder recorder_;

private:
    std::string savedFolder_;
};

// Runs action on the modal window of type Window as soon as it is the active modal
// widget, from inside its own event loop. Gives up after many event-loop turns without
// one, so that a test whose window never shows fails instead of hanging.
template <typename Window>
void WhenModal(std::function<void(Window*)> action, int turnsLeft = 100000)
{
    QTimer::singleShot(0, [action = std::move(action), turnsLeft] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window && window->isVisible()) action(window);
        else if (turnsLeft > 0) WhenModal<Window>(action, turnsLeft - 1);
    });
}

// The centre of item row in the list's viewport, where a click lands on it.
inline QPoint RowCentre(QListWidget& list, int row)
{
    return list.visualItemRect(list.item(row)).center();
}

}  // namespace selvane::test
