// The desktop program's message boxes and shell requests, as the utility functions reach
// them once the program has installed its handlers.
#include "ModalBoxAnswer.h"
#include "tests/support/CaseName.h"

#include "ui/QtMessageBoxes.h"
#include "util/TessaroTPU.h"

#include <QDesktopServices>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace selvane::test {
namespace {

class QtMessageBoxesTest : public ::testing::Test {
protected:
    QtMessageBoxesTest() { InstallQtMessageBoxes(); }
    ~QtMessageBoxesTest() override
    {
        SetMessageHandler({});
        SetShellOpenHandler({});
    }
};

struct BoxCase {
    const char* name;
    std::function<void(const std::string&)> show;
    const char* title;
    QMessageBox::Icon icon;
};

class MessageKindTest : public QtMessageBoxesTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageKindTest, ShowsTheCaptionIconAndLineBreaks)
{
    ModalBoxAnswer answer(QMessageBox::Ok);
    GetParam().show("Cannot create directory!CRLF/tmp/x\r\nlast");
    ASSERT_TRUE(answer.Seen());
    EXPECT_EQ(answer.Seen()->title, GetParam().title);
    EXPECT_EQ(answer.Seen()->icon, GetParam().icon);
    EXPECT_EQ(answer.Seen()->buttons, QMessageBox::Ok);
    EXPECT_EQ(answer.Seen()->text, "Cannot create directory!\n/tmp/x\nlast");
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MessageKindTest,
    ::testing::Values(BoxCase{"Plain", ShowPlainMessage, "Selvane Image Resizer", QMessageBox::NoIcon},
                      BoxCase{"Error", ShowErrorMessage, "Error", QMessageBox::Critical},
                      BoxCase{"Warning", ShowWarningMessage, "Warning", QMessageBox::Warning},
                      BoxCase{"Information", ShowInfoMessage, "Information", QMessageBox::Information}),
    test::CaseName);

TEST_F(QtMessageBoxesTest, TheQuestionAnswersYesOrNo)
{
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        ModalBoxAnswer answer(button);
        EXPECT_EQ(AskInformationQuestion("Open it?"), button == QMessageBox::Yes);
        ASSERT_TRUE(answer.Seen());
        EXPECT_EQ(answer.Seen()->title, "Information");
        EXPECT_EQ(answer.Seen()->buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

class UrlRecorder : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> urls;

public slots:
    void Open(const QUrl& url) { urls.push_back(url); }
};

TEST_F(QtMessageBoxesTest, OpenWithShellHandsFoldersAndAddressesToTheDesktop)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "Open");
    QDesktopServices::setUrlHandler("https", &recorder, "Open");
    OpenWithShell("/home/ann/Pictures/Output/");
    OpenWithShell("https://www.selvane.example/download-selvane/help/help.html");
    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");

    ASSERT_EQ(recorder.urls.size(), 2u);
    EXPECT_EQ(recorder.urls[0], QUrl::fromLocalFile("/home/ann/Pictures/Output/"));
    EXPECT_EQ(recorder.urls[1], QUrl("https://www.selvane.example/download-selvane/help/help.html"));
}

}  // namespace
}  // namespace selvane::test

#include "QtMessageBoxesTest.moc"
