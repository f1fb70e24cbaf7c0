#include "platform/AtomicFile.h"
#include "platform/OsError.h"
#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace selvane::platform {
namespace {

namespace fs = std::filesystem;
using testing::TestSandbox;

class AtomicFile : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return (sandbox_.Root() / name).string(); }
    std::set<std::string> Names() const { return TestSandbox::Names(sandbox_.Root()); }

    TestSandbox sandbox_;
};

TEST_F(AtomicFile, TheTargetAppearsOnlyOnCommit)
{
    {
        AtomicFileWriter writer(Path("out.jpg"));
        writer.Write("new", 3);
        EXPECT_FALSE(fs::exists(Path("out.jpg")));
        writer.Commit();
    }
    EXPECT_EQ(TestSandbox::ReadFile(Path("out.jpg")), "new");
    EXPECT_EQ(Names(), (std::set<std::string>{"home", "out.jpg"}));
}

TEST_F(AtomicFile, AnUncommittedWriteLeavesTheOldFileAndNoTemporary)
{
    TestSandbox::WriteFile(Path("out.jpg"), "old");
    {
        AtomicFileWriter writer(Path("out.jpg"), Durability::NoFlush);
        writer.Write("half", 4);
    }
    EXPECT_EQ(TestSandbox::ReadFile(Path("out.jpg")), "old");
    EXPECT_EQ(Names(), (std::set<std::string>{"home", "out.jpg"}));
}

TEST_F(AtomicFile, KeepsTheModeAndWritesThroughALink)
{
    TestSandbox::WriteFile(Path("real.ini"), "old");
    fs::permissions(Path("real.ini"), fs::perms(0640));
    fs::create_symlink("real.ini", Path("link.ini"));
    WriteFileAtomically(Path("link.ini"), "new");
    EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
    EXPECT_EQ(TestSandbox::ReadFile(Path("real.ini")), "new");
    EXPECT_EQ(fs::status(Path("real.ini")).permissions(), fs::perms(0640));
}

TEST_F(AtomicFile, MissingFolderThrowsWithThePath)
{
    try {
        WriteFileAtomically(Path("missing/out.jpg"), "x");
        FAIL();
    } catch (const OsError& error) {
        EXPECT_NE(std::string(error.what()).find(Path("missing")), std::string::npos);
    }
}

TEST_F(AtomicFile, RefusesWhatADirectWriteWouldMeet)
{
    TestSandbox::WriteFile(Path("locked.ini"), "old");
    fs::permissions(Path("locked.ini"), fs::perms(0444));
    fs::permissions(sandbox_.Root(), fs::perms(0777));
    const std::string result = testing::RunUnprivileged([&] {
        try {
            WriteFileAtomically(Path("locked.ini"), "new");
            return std::string("written");
        } catch (const OsError&) {
            return std::string("refused");
        }
    });
    EXPECT_EQ(result, "refused");
    EXPECT_EQ(TestSandbox::ReadFile(Path("locked.ini")), "old");
}

TEST_F(AtomicFile, DoesNotFollowALinkPlantedBySomeoneElseInASharedFolder)
{
    // A world-writable sticky folder like /tmp, where another user planted a link to a file
    // of ours; as root, the planted link belongs to "nobody".
    const std::string shared = Path("shared");
    fs::create_directory(shared);
    chmod(shared.c_str(), 01777);
    TestSandbox::WriteFile(Path("precious"), "keep");
    fs::create_symlink(Path("precious"), shared + "/setup.exe");
    const bool asRoot = geteuid() == 0;
    if (asRoot) ASSERT_EQ(lchown((shared + "/setup.exe").c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId), 0);
    else GTEST_SKIP() << "needs root to plant a link owned by another user";
    EXPECT_THROW(WriteFileAtomically(shared + "/setup.exe", "evil"), OsError);
    EXPECT_EQ(TestSandbox::ReadFile(Path("precious")), "keep");
}

}  // namespace
}  // namespace selvane::platform
