#include "platform/WriteProbe.h"

#include "tests/support/RunUnprivileged.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace selvane::platform {
namespace {

using selvane::test::RunUnprivileged;
using selvane::test::TestSandbox;

TEST(WriteProbeTest, AMissingFileIsCreatedAndRemovedAgain)
{
    TestSandbox sandbox;
    EXPECT_TRUE(ProbeWriteAccess((sandbox.Root() / "probe.$$$").string()));
    EXPECT_EQ(TestSandbox::Names(sandbox.Root()), std::set<std::string>{"home"});
}

TEST(WriteProbeTest, AnExistingFileKeepsItsContents)
{
    TestSandbox sandbox;
    const auto file = sandbox.Root() / "probe.$$$";
    TestSandbox::WriteFile(file, "precious");
    EXPECT_TRUE(ProbeWriteAccess(file.string()));
    EXPECT_EQ(TestSandbox::ReadFile(file), "precious");
}

TEST(WriteProbeTest, FailsWithoutAFolderOrWhereTheFolderIsAFolder)
{
    TestSandbox sandbox;
    EXPECT_FALSE(ProbeWriteAccess((sandbox.Root() / "missing/probe").string()));
    EXPECT_FALSE(ProbeWriteAccess(sandbox.Root().string()));
    EXPECT_FALSE(std::filesystem::exists(sandbox.Root() / "missing"));
}

TEST(WriteProbeTest, DoesNotBlockOnAFifo)
{
    TestSandbox sandbox;
    const auto fifo = sandbox.Root() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_TRUE(ProbeWriteAccess(fifo.string()));
}

TEST(WriteProbeTest, AnUnprivilegedUserIsRefusedInAReadOnlyFolderAndForAReadOnlyFile)
{
    TestSandbox sandbox;
    const auto locked = sandbox.Root() / "locked";
    std::filesystem::create_directories(locked);
    std::filesystem::permissions(locked, std::filesystem::perms(0555));
    const auto open = sandbox.Root() / "open";
    TestSandbox::WriteFile(open / "readonly", "x");
    std::filesystem::permissions(open, std::filesystem::perms(0777));
    std::filesystem::permissions(open / "readonly", std::filesystem::perms(0444));

    EXPECT_EQ(RunUnprivileged([&] {
                  return std::to_string(ProbeWriteAccess((locked / "probe").string())) +
                         std::to_string(ProbeWriteAccess((open / "readonly").string())) +
                         std::to_string(ProbeWriteAccess((open / "probe").string()));
              }),
              "001");
    EXPECT_TRUE(TestSandbox::Names(locked).empty());
    EXPECT_EQ(TestSandbox::Names(open), std::set<std::string>{"readonly"});
}

}  // namespace
}  // namespace selvane::platform
