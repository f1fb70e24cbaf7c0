// The about box: borderless, the picture's size, the version line, and closing on a click
// anywhere, picture or label.
#include "MainFormFixture.h"

#include "ui/widgets/AboutBox.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QLabel>
#include <QPointer>

namespace selvane::test {
namespace {

TEST(AboutBoxLookTest, IsBorderlessAtThePicturesSizeWithTheVersion)
{
    TAboutBox box(nullptr);
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(box.windowTitle(), "About");
    EXPECT_EQ(box.size(), QSize(kAboutWidth, kAboutHeight));
    EXPECT_EQ(box.lblVersion->text(), QString::fromStdString("Version " + GetProgramVersion()));
    EXPECT_EQ(box.lblVersion->text(), "Version 1.5.3.56");
    EXPECT_EQ(box.lblVersion->pos(), QPoint(10, 14));
    EXPECT_EQ(box.lblCopyRight->pos(), QPoint(23, 201));
    EXPECT_FALSE(box.lblCopyRight->text().isEmpty());
}

class AboutBoxTest : public MainFormTest, public ::testing::WithParamInterface<const char*> {};

// The box is modal: it is clicked from inside its own loop, once it is up.
TEST_P(AboutBoxTest, AClickAnywhereClosesIt)
{
    WriteSettings("[Updates]\nspnAutoUpdate=0\n[Settings]\nchkSkins=0\n");
    TMainForm& form = StartShown();
    const std::string where = GetParam();
    bool clicked = false;
    QMetaObject::invokeMethod(
        &form,
        [&] {
            ASSERT_TRUE(
                WaitUntil([] { return qobject_cast<TAboutBox*>(QApplication::activeModalWidget()); }));
            auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
            QPoint point(300, 330);
            if (where == "version") point = box->lblVersion->geometry().center();
            if (where == "notice") point = box->lblCopyRight->geometry().center();
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, point);
            clicked = true;
        },
        Qt::QueuedConnection);
    form.mnuAbout->trigger();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(form.findChildren<TAboutBox*>().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Places, AboutBoxTest, ::testing::Values("picture", "version", "notice"));

}  // namespace
}  // namespace selvane::test
