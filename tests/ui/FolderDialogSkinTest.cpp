// The folder dialog looks as designed whether the program's skin is on or off: its own
// font, whole captions, rows as tall as the font, and the file list in the system's
// disabled-text grey.
#include "source/FileListBox.h"
#include "source/SelectDirDlg.h"
#include "tests/support/TestSandbox.h"
#include "ui/Skin.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace selvane::test {
namespace {

class FolderDialogSkinTest : public ::testing::TestWithParam<bool> {
protected:
    TestSandbox sandbox_;
};

TEST_P(FolderDialogSkinTest, LooksAsDesigned)
{
    TSkinManager skin;
    skin.SetActive(GetParam());
    const QColor systemGrey =
        QApplication::style()->standardPalette().color(QPalette::Disabled, QPalette::Text);
    TestSandbox::WriteFile(sandbox_.Root() / "files/damaged_jpg.jpg", "x");
    const auto dialog = std::make_unique<TSelectDirDlg>();
    dialog->SetDirectory((sandbox_.Root() / "files").string());
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));

    for (const char* name : {"BitBtn1", "BitBtn2", "OKButton", "CancelButton", "btnCreate"}) {
        auto* button = dialog->findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->font().pointSizeF(), 8.0) << name;
        // The plain look keeps the designed 70 pixels for the shortcuts, in which the
        // captions fit; the skin's padding needs what the style asks for.
        if (GetParam()) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << name;
        }
    }
    auto* files = dialog->findChild<TFileListBox*>("FileList");
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(files->count(), 1);
    EXPECT_GE(files->visualItemRect(files->item(0)).height(), files->fontMetrics().height());
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        EXPECT_EQ(files->palette().color(group, QPalette::Text), systemGrey);
}

INSTANTIATE_TEST_SUITE_P(Skin, FolderDialogSkinTest, ::testing::Bool(),
                         [](const auto& row) { return std::string(row.param ? "On" : "Off"); });

}  // namespace
}  // namespace selvane::test
