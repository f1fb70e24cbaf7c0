#include "source/listing/ListPath.h"

#include "SourceTestSupport.h"

#include <filesystem>

namespace selvane {
namespace {

class ListPathTest : public test::SourceTest {
protected:
    void SetUp() override
    {
        base_ = Folder("base");
        Folder("base/sub");
        Folder("base/a?b");
        Touch(base_, {"photo.jpg", "star*.jpg", "[boxed]"});
    }

    void Expect(const std::string& text, const std::string& folder, const std::string& file,
                bool pattern = false)
    {
        const ListPath parts = SplitListPath(text, base_);
        EXPECT_EQ(parts.folder, folder) << text;
        EXPECT_EQ(parts.file, file) << text;
        EXPECT_EQ(parts.pattern, pattern) << text;
    }

    std::string base_;
};

TEST_F(ListPathTest, FolderTextsNameTheFolderWithOrWithoutTrailingSeparator)
{
    Expect(base_ + "/", base_, "");
    Expect(base_, base_, "");
    Expect(base_ + "/sub/", base_ + "/sub", "");
}

TEST_F(ListPathTest, TheRootAndNamesRightBelowIt)
{
    Expect("/", "/", "");
    Expect("/usr", "/usr", "");
}

TEST_F(ListPathTest, AnExistingFileIsTheFilePart)
{
    Expect(base_ + "/photo.jpg", base_, "photo.jpg");
    Expect("photo.jpg", base_, "photo.jpg");
}

TEST_F(ListPathTest, BracketedNameStandsForTheFolder)
{
    Expect("[sub]", base_ + "/sub", "");
    Expect("[..]", base_ + "/..", "");
}

TEST_F(ListPathTest, RelativeTextsAreTakenFromTheBase)
{
    Expect("sub/", base_ + "/sub", "");
    Expect("sub", base_ + "/sub", "");
}

TEST_F(ListPathTest, WildcardsMakeAPatternUnlessAnEntryHasThatName)
{
    Expect(base_ + "/*.png", base_, "*.png", true);
    Expect("star*.jpg", base_, "star*.jpg");
    Expect("a?b", base_ + "/a?b", "");
    Expect("[boxed]", base_, "[boxed]");
}

TEST_F(ListPathTest, AMissingNameIsOneMoreFolderLevel)
{
    // Entering it is the caller's step, which reports that it does not exist.
    Expect(base_ + "/missing.jpg", base_ + "/missing.jpg", "");
    Expect(base_ + "/gone/photo.jpg", base_ + "/gone/photo.jpg", "");
}

TEST_F(ListPathTest, ColonIsAnOrdinaryCharacter)
{
    Touch(base_, {"IMG 12:30.jpg"});
    Expect(base_ + "/IMG 12:30.jpg", base_, "IMG 12:30.jpg");
}

}  // namespace
}  // namespace selvane
