// The pictures of a folder tree for a batch that keeps it: the order, and the folders that
// are never entered.
#include "source/listing/PictureTree.h"

#include "SourceTestSupport.h"
#include "tests/support/RunUnprivileged.h"

#include <filesystem>

namespace selvane::test {
namespace {

using PictureTreeTest = SourceTest;

TEST_F(PictureTreeTest, ListsFolderByFolderAndLeavesOutTheFoldersThatMustNotBeEntered)
{
    const std::string root = Folder("tree");
    Touch(root, {"b.jpg", "A.png", "notes.txt"});
    Touch(Folder("tree/2024/june"), {"beach.jpg", "Dune.webp"});
    Touch(Folder("tree/2024"), {"new-year.jpg"});
    Touch(Folder("tree/archive"), {"old.bmp"});
    Touch(Folder("tree/Output/2024"), {"beach.jpg"});  // an earlier run's outputs
    Touch(Folder("tree/.thumbnails"), {"t.png"});
    Touch(Folder("elsewhere"), {"far.jpg"});
    std::filesystem::create_directory_symlink(Folder("elsewhere"), root + "/linked");
    std::filesystem::create_directory_symlink(root, root + "/2024/loop");

    // The output folder is known by what it is, however it is spelled.
    const PictureTree tree = ListPictureTree(root, root + "/2024/../Output/");
    EXPECT_EQ(tree.pictures,
              (std::vector<std::string>{"A.png", "b.jpg", "2024/new-year.jpg", "2024/june/beach.jpg",
                                        "2024/june/Dune.webp", "archive/old.bmp"}));
    EXPECT_TRUE(tree.unreadable.empty());
    // With no output folder to leave out, it is a folder like another.
    EXPECT_EQ(ListPictureTree(root, "").pictures.back(), "Output/2024/beach.jpg");
}

TEST_F(PictureTreeTest, NamesASubfolderItCannotReadAndListsTheRest)
{
    const std::string root = Folder("tree");
    Touch(root, {"a.jpg"});
    Touch(Folder("tree/locked"), {"hidden.jpg"});
    Touch(Folder("tree/open"), {"b.jpg"});
    std::filesystem::permissions(root + "/locked", std::filesystem::perms::none);
    const std::string result = RunUnprivileged([&] {
        const PictureTree tree = ListPictureTree(root, "");
        std::string text;
        for (const std::string& picture : tree.pictures) text += picture + "\n";
        for (const std::string& reason : tree.unreadable) text += "! " + reason + "\n";
        return text;
    });
    std::filesystem::permissions(root + "/locked", std::filesystem::perms::owner_all);
    EXPECT_EQ(result, "a.jpg\nopen/b.jpg\n! " + root + "/locked: Permission denied\n");
}

}  // namespace
}  // namespace selvane::test
