#include "source/listing/FolderPaths.h"

#include "SourceTestSupport.h"

#include <filesystem>

namespace selvane {
namespace {

class FolderPathsTest : public test::SourceTest {};

TEST_F(FolderPathsTest, TrailingSeparatorsDoNotMakeAnotherFolder)
{
    EXPECT_TRUE(SameFolder("/home/ann/", "/home/ann"));
    EXPECT_TRUE(SameFolder("/", "/"));
    EXPECT_FALSE(SameFolder("/home/ann", "/home/anna"));
    EXPECT_EQ(WithoutTrailingSeparators("/a//"), "/a");
    EXPECT_EQ(WithoutTrailingSeparators("//"), "/");
}

TEST_F(FolderPathsTest, OtherCaseIsTheSameFolderOnlyWhenTheFileSystemSaysSo)
{
    const std::string lower = Folder("photos");
    const std::string upper = Folder() + "/PHOTOS";
    if (!std::filesystem::exists(upper)) {
        EXPECT_FALSE(SameFolder(upper, lower)) << "missing folder";
        std::filesystem::create_directory_symlink(lower, upper);
    }
    EXPECT_TRUE(SameFolder(upper, lower));
    // Another folder that resolves to the same place is not the same text for a list.
    const std::string alias = Folder() + "/alias";
    std::filesystem::create_directory_symlink(lower, alias);
    EXPECT_FALSE(SameFolder(alias, lower));
}

TEST_F(FolderPathsTest, StartFolderIsTheRootWhenTheCurrentFolderWasRemoved)
{
    const std::string gone = Folder("gone");
    platform::SetCurrentFolder(gone);
    EXPECT_EQ(StartFolder(), gone);
    std::filesystem::remove(gone);
    EXPECT_EQ(StartFolder(), "/");
}

}  // namespace
}  // namespace selvane
