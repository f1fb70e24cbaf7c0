#include "platform/AtomicFile.h"
#include "platform/OsError.h"
#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace selvane::platform {
namespace {

namespace fs = std::filesystem;
using test::TestSandbox;

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

// What dead writers of "a.ini" left is removed once it is old; a temporary being written
// now, and every name that is not such a temporary, stays.
TEST_F(AtomicFile, RemovesOnlyTheStaleTemporariesOfItsTarget)
{
    // Links are aged themselves, not their targets.
    const auto age = [](const std::string& path, std::chrono::minutes minutes) {
        const timespec when{std::time(nullptr) - std::chrono::seconds(minutes).count(), 0};
        const timespec times[2] = {when, when};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
    };
    const std::set<std::string> kept{"home",          "a.ini",         ".a.ini.Fresh1", ".a.ini.Ab3xYz2",
                                     ".a.ini.Ab3x",   ".a.ini.Ab-xYz", ".b.ini.Ab3xYz", "a.ini.Ab3xYz",
                                     ".a.ini.Dir123", ".a.ini.Lnk123"};
    for (const std::string& name : kept) {
        if (name == "home") continue;
        if (name == ".a.ini.Dir123") fs::create_directory(Path(name));
        else if (name == ".a.ini.Lnk123") fs::create_symlink("a.ini", Path(name));
        else TestSandbox::WriteFile(Path(name), "x");
        if (name != ".a.ini.Fresh1") age(Path(name), std::chrono::minutes(60));
    }
    for (const std::string name : {".a.ini.Old123", ".a.ini.zZ9aA0"}) {
        TestSandbox::WriteFile(Path(name), "partial");
        age(Path(name), std::chrono::minutes(11));
    }

    RemoveStaleTemporaries(Path("a.ini"), std::chrono::minutes(10));

    EXPECT_EQ(Names(), kept);
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
    const std::string result = test::RunUnprivileged([&] {
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
    if (asRoot)
        ASSERT_EQ(lchown((shared + "/setup.exe").c_str(), test::kUnprivilegedId, test::kUnprivilegedId), 0);
    else GTEST_SKIP() << "needs root to plant a link owned by another user";
    EXPECT_THROW(WriteFileAtomically(shared + "/setup.exe", "evil"), OsError);
    EXPECT_EQ(TestSandbox::ReadFile(Path("precious")), "keep");
}

}  // namespace
}  // namespace selvane::platform
