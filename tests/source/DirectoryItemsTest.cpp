#include "source/listing/DirectoryItems.h"

#include "SourceTestSupport.h"

#include <filesystem>

namespace selvane {
namespace {}  // namespace

void PrintTo(const DirectoryItem& item, std::ostream* out)
{
    *out << "{" << item.text << ", " << item.path << ", " << static_cast<int>(item.glyph) << ", "
         << item.indent << "}";
}

namespace {

TEST(DirectoryItemsTest, TwoLevelsDownThePathThenTheCurrentFolderThenSubfolders)
{
    const std::vector<DirectoryItem> expected{{"/", "/", GlyphId::OpenFolder, 2},
                                              {"home", "/home", GlyphId::OpenFolder, 6},
                                              {"ann", "/home/ann", GlyphId::CurrentFolder, 10},
                                              {"Music", "/home/ann/Music", GlyphId::ClosedFolder, 14},
                                              {"photos", "/home/ann/photos", GlyphId::ClosedFolder, 14}};
    EXPECT_EQ(DirectoryItems("/home/ann", {"Music", "photos"}), expected);
    EXPECT_EQ(CurrentItemIndex("/home/ann"), 2);
}

TEST(DirectoryItemsTest, TheRootAloneIsTheCurrentRow)
{
    const std::vector<DirectoryItem> expected{{"/", "/", GlyphId::CurrentFolder, 2},
                                              {"home", "/home", GlyphId::ClosedFolder, 10}};
    EXPECT_EQ(DirectoryItems("/", {"home"}), expected);
    EXPECT_EQ(CurrentItemIndex("/"), 0);
}

class ListSubfoldersTest : public test::SourceTest {};

TEST_F(ListSubfoldersTest, VisibleFoldersOnlyInNameOrder)
{
    const std::string folder = Folder("tree");
    for (const char* name : {"beta", "Alpha", ".hidden", "gamma"}) Folder(std::string("tree/") + name);
    Touch(folder, {"file"});
    std::filesystem::create_symlink(folder + "/beta", folder + "/link");
    std::filesystem::create_symlink(folder + "/gone", folder + "/dangling");
    EXPECT_EQ(ListSubfolders(folder), (std::vector<std::string>{"Alpha", "beta", "gamma", "link"}));
    EXPECT_TRUE(ListSubfolders(folder + "/missing").empty());
}

}  // namespace
}  // namespace selvane
