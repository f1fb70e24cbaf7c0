#include "source/PathEdit.h"

#include "SourceTestSupport.h"

#include <QTest>

namespace selvane {
namespace {

class PathEditTest : public test::SourceTest {
protected:
    void SetUp() override
    {
        root_ = QString::fromStdString(Folder("disk"));
        for (const char* name : {"Program Files", "photo", "photo album"})
            Folder(std::string("disk/") + name);
        edit_.setText(root_ + "/");
        edit_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit_));
    }

    QString root_;
    TPathEdit edit_;
};

TEST_F(PathEditTest, TypedBeginningIsCompletedWithTheTailSelected)
{
    QTest::keyClicks(&edit_, "prog");
    EXPECT_EQ(edit_.text(), root_ + "/program Files");
    EXPECT_EQ(edit_.selectedText(), "ram Files");
    EXPECT_EQ(edit_.selectionStart(), root_.size() + 5);
}

TEST_F(PathEditTest, TypingOnReplacesTheTailAndCompletesAgain)
{
    QTest::keyClicks(&edit_, "p");
    EXPECT_EQ(edit_.text(), root_ + "/photo");
    EXPECT_EQ(edit_.selectedText(), "hoto");
    QTest::keyClicks(&edit_, "hoto ");
    EXPECT_EQ(edit_.text(), root_ + "/photo album");
    EXPECT_EQ(edit_.selectedText(), "album");
}

TEST_F(PathEditTest, BackspaceAndDeleteNeverComplete)
{
    for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete}) {
        edit_.setText(root_ + "/");
        QTest::keyClicks(&edit_, "prog");
        QTest::keyClick(&edit_, key);
        EXPECT_EQ(edit_.text(), root_ + "/prog") << key;
        EXPECT_EQ(edit_.LastKey(), key);
        // A change by code now completes according to that last key: not at all.
        edit_.setText(root_ + "/pho");
        EXPECT_EQ(edit_.text(), root_ + "/pho");
    }
}

TEST_F(PathEditTest, EnterAppendsASeparatorToAnExistingFolder)
{
    edit_.setText(root_ + "/photo");
    edit_.setCursorPosition(0);
    QTest::keyClick(&edit_, Qt::Key_Return);
    EXPECT_EQ(edit_.text(), root_ + "/photo/");
    EXPECT_EQ(edit_.cursorPosition(), edit_.text().size());
    EXPECT_FALSE(edit_.hasSelectedText());
}

TEST_F(PathEditTest, EnterOnAnyOtherTextOnlyMovesTheCaret)
{
    for (const QString& text : {root_ + "/missing", root_ + "/photo/", QString("relative")}) {
        edit_.setText(text);
        edit_.setSelection(0, 2);
        QTest::keyClick(&edit_, Qt::Key_Enter);
        EXPECT_EQ(edit_.text(), text);
        EXPECT_EQ(edit_.cursorPosition(), text.size());
        EXPECT_FALSE(edit_.hasSelectedText());
    }
}

TEST_F(PathEditTest, OnChangeRunsBeforeTheCompletionAndForTheCompletedText)
{
    QStringList seen;
    edit_.OnChange = [&](QObject* sender) { seen << static_cast<TPathEdit*>(sender)->text(); };
    QTest::keyClicks(&edit_, "pr");
    EXPECT_EQ(seen, (QStringList{root_ + "/p", root_ + "/photo", root_ + "/pr", root_ + "/program Files"}));
}

TEST_F(PathEditTest, AnEmptyTextOrATrailingSeparatorCompletesNothing)
{
    QTest::keyClicks(&edit_, "photo/");
    EXPECT_EQ(edit_.text(), root_ + "/photo/");
    edit_.clear();
    EXPECT_EQ(edit_.text(), "");
}

TEST_F(PathEditTest, NoCompletionWhenSwitchedOffOrWhileLoadingTheInitialText)
{
    edit_.Complete = false;
    QTest::keyClicks(&edit_, "prog");
    EXPECT_EQ(edit_.text(), root_ + "/prog");

    TPathEdit loaded(root_ + "/prog");
    EXPECT_EQ(loaded.text(), root_ + "/prog");
}

TEST_F(PathEditTest, CompleteWithRestrictsTheCandidates)
{
    Touch(root_.toStdString(), {"pagefile.sys"});
    QTest::keyClicks(&edit_, "pa");
    EXPECT_EQ(edit_.text(), root_ + "/pagefile.sys");
    edit_.setText(root_ + "/");
    edit_.CompleteWith = {TAttributesFile::peaDirectory};
    QTest::keyClicks(&edit_, "p");
    EXPECT_EQ(edit_.text(), root_ + "/photo");
}

}  // namespace
}  // namespace selvane
