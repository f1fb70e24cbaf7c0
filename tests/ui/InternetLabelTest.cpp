// The link label: its colours and underline under the mouse and after a visit, the visit
// that fails, and OnLinkActivating. The desktop's answer is played by a label whose shell
// step records the link.
#include "MainFormFixture.h"

#include "ui/widgets/InternetLabel.h"

#include <QVBoxLayout>

namespace selvane::test {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kPurple(128, 0, 128);

class RecordingLabel : public TInternetLabel {
public:
    using TInternetLabel::TInternetLabel;
    bool shellAnswer = true;
    std::vector<QString> opened;

protected:
    bool OpenInShell(const QString& link) override
    {
        opened.push_back(link);
        return shellAnswer;
    }
};

class InternetLabelTest : public ::testing::Test {
protected:
    InternetLabelTest()
    {
        auto* column = new QVBoxLayout(&window_);
        label_ = new RecordingLabel(&window_);
        label_->setText("www");
        column->addWidget(label_);
        column->addSpacing(40);
        window_.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_));
    }

    void Enter()
    {
        QTest::mouseMove(label_, QPoint(3, 3));
        EXPECT_TRUE(WaitUntil([&] { return label_->Hovering(); }));
    }
    void Leave()
    {
        QTest::mouseMove(&window_, QPoint(window_.width() / 2, window_.height() - 5));
        EXPECT_TRUE(WaitUntil([&] { return !label_->Hovering(); }));
    }
    void Click() { QTest::mouseClick(label_, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3)); }

    QWidget window_;
    RecordingLabel* label_;
};

TEST_F(InternetLabelTest, RedUnderTheMouseAndPurpleAfterAVisit)
{
    label_->SetLink("https://www.selvane.example/download-selvane/index.html");
    EXPECT_EQ(label_->TextColor(), kBlue);
    EXPECT_FALSE(label_->font().underline());
    Enter();
    EXPECT_EQ(label_->TextColor(), kRed);
    EXPECT_TRUE(label_->font().underline());
    Leave();
    EXPECT_EQ(label_->TextColor(), kBlue);
    EXPECT_FALSE(label_->font().underline());

    Enter();
    Click();
    EXPECT_EQ(label_->opened,
              std::vector<QString>{"https://www.selvane.example/download-selvane/index.html"});
    EXPECT_TRUE(label_->Visited());
    // Setting Visited colours the text even under the mouse.
    EXPECT_EQ(label_->TextColor(), kPurple);
    Leave();
    EXPECT_EQ(label_->TextColor(), kPurple);
    EXPECT_FALSE(label_->font().underline());
}

TEST_F(InternetLabelTest, AVisitTheDesktopRefusesLeavesItNotVisited)
{
    label_->SetLink("https://www.selvane.example/");
    label_->shellAnswer = false;
    Enter();
    Click();
    EXPECT_EQ(label_->opened.size(), 1u);
    EXPECT_FALSE(label_->Visited());
    Leave();
    EXPECT_EQ(label_->TextColor(), kBlue);
}

TEST_F(InternetLabelTest, AnEmptyLinkOrARefusalOpensNothing)
{
    Click();
    EXPECT_TRUE(label_->opened.empty());

    label_->SetLink("https://www.selvane.example/");
    bool asked = false;
    label_->OnLinkActivating = [&](TInternetLabel* sender, bool& allow) {
        asked = sender == label_ && allow;
        allow = false;
    };
    Click();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(label_->opened.empty());
    EXPECT_FALSE(label_->Visited());
}

TEST_F(InternetLabelTest, ColourSettersApplyOnlyToTheColourShownNow)
{
    label_->SetVisitedColor(Qt::green);
    EXPECT_EQ(label_->TextColor(), kBlue);
    label_->SetNotVisitedColor(Qt::darkBlue);
    EXPECT_EQ(label_->TextColor(), QColor(Qt::darkBlue));
    Enter();
    label_->SetNotVisitedColor(Qt::cyan);
    EXPECT_EQ(label_->TextColor(), kRed);
    label_->SetOverColor(Qt::magenta);
    EXPECT_EQ(label_->TextColor(), QColor(Qt::magenta));
    Leave();
    EXPECT_EQ(label_->TextColor(), QColor(Qt::cyan));
    label_->SetVisited(true);
    EXPECT_EQ(label_->TextColor(), QColor(Qt::green));
}

TEST_F(InternetLabelTest, LinkHintMakesTheLinkTheHint)
{
    label_->SetLink("https://a.example/");
    EXPECT_TRUE(label_->toolTip().isEmpty());
    label_->SetLinkHint(true);
    label_->SetLink("https://b.example/");
    EXPECT_EQ(label_->toolTip(), "https://b.example/");
}

}  // namespace
}  // namespace selvane::test
