#include "source/PathCompletion.h"

#include "SourceTestSupport.h"

#include <filesystem>

namespace selvane {
namespace {

using enum TAttributesFile;

class PathCompletionTest : public test::SourceTest {
protected:
    void SetUp() override
    {
        root_ = QString::fromStdString(Folder("disk"));
        Folder("disk/Program Files");
        Folder("disk/Pictures");
        Touch(Folder("disk"), {"pagefile.sys"});
    }

    std::optional<Completion> Complete(const QString& typed, TAttributesFiles with = kAllAttributesFiles)
    {
        return CompletePath(typed, typed, with);
    }

    QString root_;
};

TEST_F(PathCompletionTest, TypedPartKeepsItsCaseAndTheTailIsSelected)
{
    const auto completion = Complete(root_ + "/prog");
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, root_ + "/program Files");
    EXPECT_EQ(completion->selectionStart, root_.size() + 5);
    EXPECT_EQ(completion->selectionLength, QString("ram Files").size());
}

TEST_F(PathCompletionTest, FirstCandidateInNameOrderWithoutRegardToCase)
{
    // "pagefile.sys" < "Pictures" < "Program Files" without regard to case.
    EXPECT_EQ(Complete(root_ + "/p")->text, root_ + "/pagefile.sys");
    EXPECT_EQ(Complete(root_ + "/pi")->text, root_ + "/pictures");
}

TEST_F(PathCompletionTest, EntriesWithoutAnAdmittedAttributeAreSkipped)
{
    EXPECT_EQ(Complete(root_ + "/p", {peaDirectory})->text, root_ + "/pictures");
    EXPECT_FALSE(Complete(root_ + "/pa", {peaDirectory}));
    EXPECT_FALSE(Complete(root_ + "/p", {}));
}

TEST_F(PathCompletionTest, HiddenEntriesCompleteButDotAndDotDotNever)
{
    Folder("disk/.config");
    EXPECT_EQ(Complete(root_ + "/.")->text, root_ + "/.config");
    Folder("disk/empty");
    EXPECT_FALSE(Complete(root_ + "/empty/."));
}

TEST_F(PathCompletionTest, OnlyAbsoluteTextsNotEndingInASeparatorComplete)
{
    EXPECT_FALSE(Complete(root_ + "/"));
    EXPECT_FALSE(Complete("prog"));
    EXPECT_FALSE(Complete(""));
    EXPECT_FALSE(Complete(root_ + "/missing/prog"));
    EXPECT_FALSE(Complete(root_ + "/zzz"));
}

TEST_F(PathCompletionTest, AFullNameStaysAsItIs)
{
    const auto completion = Complete(root_ + "/Pictures");
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, root_ + "/Pictures");
    EXPECT_EQ(completion->selectionLength, 0);
}

TEST_F(PathCompletionTest, TheRestOfTheTextBeyondTheTypedPartIsReplaced)
{
    const QString typed = root_ + "/pi";
    const auto completion = CompletePath(typed + "ctures/old", typed, kAllAttributesFiles);
    ASSERT_TRUE(completion);
    EXPECT_EQ(completion->text, root_ + "/pictures");
}

}  // namespace
}  // namespace selvane
