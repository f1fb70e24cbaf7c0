// The main window's web links: the Info menu, the two buttons of the resizer page, the
// "IMAGE MAY GET DISTORTED" label, F1, the support box, and the header's link label.
#include "MainFormFixture.h"

#include "tests/support/CaseName.h"
#include "ui/widgets/InternetLabel.h"
#include "update/SiteAddresses.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace selvane::test {
namespace {

class WebLinksTest : public MainFormTest {
protected:
    TMainForm& StartQuiet()
    {
        WriteSettings("[WindowState]\nLast_used_tab=0\n[Updates]\nspnAutoUpdate=0\n[Resize]\nradSameSize=1\n"
                      "[Settings]\nchkSkins=0\n");
        return StartShown();
    }
};

struct LinkCase {
    const char* name;
    std::function<void(TMainForm&)> use;
    std::string_view address;
};

class OpensPageTest : public WebLinksTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(OpensPageTest, OpensItsPageAndNothingElse)
{
    TMainForm& form = StartQuiet();
    GetParam().use(form);
    EXPECT_EQ(opened_, std::vector<std::string>{std::string(GetParam().address)});
    EXPECT_TRUE(recorder_.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, OpensPageTest,
    ::testing::Values(
        LinkCase{"F1", [](TMainForm& form) { QTest::keyClick(form.FileList, Qt::Key_F1); }, kManualUrl},
        LinkCase{"ManualMenu", [](TMainForm& form) { form.mnuOnlineHelp->trigger(); }, kManualUrl},
        LinkCase{"ManualButton", [](TMainForm& form) { QTest::mouseClick(form.btnManual, Qt::LeftButton); },
                 kManualUrl},
        LinkCase{"DistortionLabel",
                 [](TMainForm& form) { QTest::mouseClick(form.lblAspect, Qt::LeftButton); }, kManualUrl},
        LinkCase{"ProgramPage", [](TMainForm& form) { form.mnuProgramPage->trigger(); }, kProgramPageUrl},
        LinkCase{"SimilarSoftware", [](TMainForm& form) { form.mnuCompanyPage->trigger(); }, kHomePageUrl}),
    test::CaseName);

class SupportTest : public WebLinksTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SupportTest, OpensTheForumThenExplains)
{
    TMainForm& form = StartQuiet();
    std::size_t openedBeforeBox = 0;
    recorder_.BeforeEach([&](const RecordedMessage&) { openedBeforeBox = opened_.size(); });
    if (GetParam()) QTest::mouseClick(form.btnSupport, Qt::LeftButton);
    else form.mnuSupport->trigger();
    EXPECT_EQ(opened_, std::vector<std::string>{std::string(kSupportForumUrl)});
    EXPECT_EQ(openedBeforeBox, 1u);
    ASSERT_EQ(recorder_.messages.size(), 1u);
    EXPECT_EQ(recorder_.messages[0].kind, MessageKind::Info);
    EXPECT_EQ(recorder_.messages[0].caption, "Information");
    EXPECT_EQ(recorder_.messages[0].text,
              "Please create your own account on our forum and post your queries. Please allow "
              "few hours to our support staff to answer your questions.");
}

INSTANTIATE_TEST_SUITE_P(ButtonAndMenu, SupportTest, ::testing::Bool(),
                         [](const auto& row) { return std::string(row.param ? "Button" : "Menu"); });

TEST_F(WebLinksTest, HeaderLabelIsUnderlinedBlueWithTheProgramPage)
{
    TMainForm& form = StartQuiet();
    EXPECT_EQ(form.InternetLabel->text(), "www");
    EXPECT_EQ(form.InternetLabel->Link().toStdString(), closedPort_.Url("/download-selvane/index.html"));
    EXPECT_EQ(form.InternetLabel->TextColor(), QColor(0, 0, 255));
    EXPECT_TRUE(form.InternetLabel->font().underline());
    QTest::mouseMove(form.InternetLabel, QPoint(3, 3));
    ASSERT_TRUE(WaitUntil([&] { return form.InternetLabel->Hovering(); }));
    EXPECT_EQ(form.InternetLabel->TextColor(), QColor(255, 0, 0));
}

}  // namespace
}  // namespace selvane::test
