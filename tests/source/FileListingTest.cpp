#include "source/listing/FileListing.h"
#include "source/listing/PictureFolder.h"

#include "SourceTestSupport.h"
#include "tests/support/CaseName.h"

#include <filesystem>

namespace selvane {
namespace {

using test::SourceTest;
using enum TFileAttr;

std::vector<std::string> Texts(const std::vector<ListItem>& items)
{
    std::vector<std::string> texts;
    for (const ListItem& item : items) texts.push_back(item.text);
    return texts;
}

TEST(SplitMaskTest, CutsAtEverySemicolonKeepingEmptyPieces)
{
    EXPECT_EQ(SplitMask("*.jpg"), (std::vector<std::string>{"*.jpg"}));
    EXPECT_EQ(SplitMask("*.jp;*.png;"), (std::vector<std::string>{"*.jp", "*.png", ""}));
    EXPECT_EQ(SplitMask(";;a"), (std::vector<std::string>{"", "", "a"}));
    EXPECT_EQ(SplitMask(""), (std::vector<std::string>{""}));
}

struct QualifyCase {
    const char* name;
    platform::FileAttributes attributes;
    TFileType fileType;
    bool listed;
};

class QualifiesTest : public ::testing::TestWithParam<QualifyCase> {};

TEST_P(QualifiesTest, FollowsTheFileType)
{
    EXPECT_EQ(Qualifies(GetParam().attributes, GetParam().fileType), GetParam().listed);
}

constexpr platform::FileAttributes kFile{.archive = true};
constexpr platform::FileAttributes kHiddenFile{.hidden = true, .archive = true};
constexpr platform::FileAttributes kReadOnlyFile{.readOnly = true, .archive = true};
constexpr platform::FileAttributes kFolder{.directory = true};
constexpr platform::FileAttributes kSpecial{.system = true};

INSTANTIATE_TEST_SUITE_P(
    Table, QualifiesTest,
    ::testing::Values(QualifyCase{"FileUnderNormal", kFile, {ftNormal}, true},
                      QualifyCase{"HiddenFileUnderNormal", kHiddenFile, {ftNormal}, false},
                      QualifyCase{"HiddenFileUnderHiddenNormal", kHiddenFile, {ftHidden, ftNormal}, true},
                      QualifyCase{"FolderUnderHiddenNormal", kFolder, {ftHidden, ftNormal}, false},
                      QualifyCase{"SpecialUnderHiddenNormal", kSpecial, {ftHidden, ftNormal}, false},
                      QualifyCase{"SpecialUnderSystem", kSpecial, {ftSystem}, true},
                      QualifyCase{"FolderUnderDirectory", kFolder, {ftDirectory}, true},
                      QualifyCase{"FileUnderDirectoryOnly", kFile, {ftDirectory}, false},
                      QualifyCase{"FileUnderArchive", kFile, {ftArchive}, true},
                      QualifyCase{"ReadOnlyFileUnderReadOnly", kReadOnlyFile, {ftReadOnly}, true},
                      QualifyCase{"FileUnderReadOnly", kFile, {ftReadOnly}, false},
                      QualifyCase{"FileUnderVolumeId", kFile, {ftVolumeID}, false},
                      QualifyCase{"NothingUnderEmptySet", kFile, {}, false}),
    test::CaseName);

TEST(FileGlyphTest, ExecutableExtensionsInAnyCase)
{
    for (const char* name : {"setup.exe", "RUN.COM", "go.Bat", "old.pif"})
        EXPECT_EQ(FileGlyph(name), ListGlyph::Executable) << name;
    for (const char* name : {"photo.jpg", "exe", "archive.exe.gz", "README"})
        EXPECT_EQ(FileGlyph(name), ListGlyph::UnknownFile) << name;
}

class ListFolderTest : public SourceTest {};

TEST_F(ListFolderTest, PicturesMaskListsHiddenFilesButNoFoldersOrSpecialFiles)
{
    const std::string folder = Folder("pictures");
    Touch(folder, {"b.jpg", ".hidden.png", "notes.txt"});
    std::filesystem::create_directory(folder + "/sub.jpg");
    MakeFifo(folder + "/pipe.gif");
    std::filesystem::create_symlink(folder + "/gone", folder + "/dangling.bmp");

    const auto items = ListFolder(folder, "*.jp;*.jpeg;*.jpg;*.gif;*.bmp;*.png", {ftHidden, ftNormal});
    EXPECT_EQ(Texts(items), (std::vector<std::string>{".hidden.png", "b.jpg"}));
    EXPECT_EQ(items[0].glyph, ListGlyph::UnknownFile);
}

TEST_F(ListFolderTest, PictureFilesOfEveryDecodedFormatInAnyCase)
{
    const std::string folder = Folder("formats");
    Touch(folder, {"a.WEBP", "b.tif", "c.TIFF", "d.avif", "e.HEIC", "f.heif", "g.Jxl", "h.jpg", "i.txt",
                   "j.tga", "k.png.bak", "l.tiff2"});
    std::vector<std::string> expected;
    for (const char* name : {"a.WEBP", "b.tif", "c.TIFF", "d.avif", "e.HEIC", "f.heif", "g.Jxl", "h.jpg"})
        expected.push_back(folder + "/" + name);
    EXPECT_EQ(ListPictureFiles(folder), expected);
}

TEST_F(ListFolderTest, SortedWithoutRegardToCaseAndListedOncePerMatchingPiece)
{
    const std::string folder = Folder("sorted");
    Touch(folder, {"b.JPG", "A.jpg", "c.jpg", "a.png"});
    EXPECT_EQ(Texts(ListFolder(folder, "*.jpg;A*", {ftNormal})),
              (std::vector<std::string>{"A.jpg", "A.jpg", "a.png", "b.JPG", "c.jpg"}));
}

TEST_F(ListFolderTest, TrailingSemicolonListsTheSameAsWithout)
{
    const std::string folder = Folder("mask");
    Touch(folder, {"a.jpg", "b.png", "c.txt"});
    EXPECT_EQ(Texts(ListFolder(folder, "*.jpg;*.png;", {ftNormal})),
              Texts(ListFolder(folder, "*.jpg;*.png", {ftNormal})));
    EXPECT_TRUE(ListFolder(folder, ";", {ftNormal}).empty());
}

TEST_F(ListFolderTest, FoldersAreBracketedWithTheClosedFolderGlyph)
{
    const std::string folder = Folder("tree");
    std::filesystem::create_directory(folder + "/Album");
    Touch(folder, {"tool.EXE"});
    const auto items = ListFolder(folder, "*.*", {ftDirectory, ftArchive});
    ASSERT_EQ(Texts(items), (std::vector<std::string>{"[..]", "[.]", "[Album]", "tool.EXE"}));
    EXPECT_EQ(items[2].glyph, ListGlyph::ClosedFolder);
    EXPECT_EQ(items[3].glyph, ListGlyph::Executable);
}

TEST_F(ListFolderTest, ReportsEveryAddedIndexInTurn)
{
    const std::string folder = Folder("many");
    for (int i = 0; i < 5; ++i) Touch(folder, {std::to_string(i) + ".jpg"});
    std::vector<std::size_t> indices;
    ListFolder(folder, "*.jpg", {ftNormal}, [&](std::size_t index) { indices.push_back(index); });
    EXPECT_EQ(indices, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

TEST_F(ListFolderTest, MissingFolderListsNothing)
{
    EXPECT_TRUE(ListFolder(Folder() + "/missing", "*.*", {ftNormal}).empty());
}

}  // namespace
}  // namespace selvane
