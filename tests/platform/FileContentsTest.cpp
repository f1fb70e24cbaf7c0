#include "platform/FileContents.h"

#include "platform/OsError.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace selvane::platform {
namespace {

using selvane::test::TestSandbox;

TEST(FileContentsTest, ReadsEveryByteUnchanged)
{
    TestSandbox sandbox;
    std::string bytes("a\0b\r\n\xFF", 6);
    bytes += std::string(200000, 'x');  // more than one read
    TestSandbox::WriteFile(sandbox.Root() / "f", bytes);
    EXPECT_EQ(ReadFileContents((sandbox.Root() / "f").string()), bytes);
}

TEST(FileContentsTest, AMissingFileIsNothingButAFolderIsAnError)
{
    TestSandbox sandbox;
    EXPECT_EQ(ReadFileContents((sandbox.Root() / "missing").string()), std::nullopt);
    EXPECT_EQ(ReadFileContents((sandbox.Root() / "missing/below").string()), std::nullopt);
    EXPECT_THROW(ReadFileContents(sandbox.Root().string()), OsError);
}

TEST(FileContentsTest, AFileAboveTheLimitIsAnErrorEvenWhenItNeverEnds)
{
    TestSandbox sandbox;
    const std::string path = (sandbox.Root() / "f").string();
    TestSandbox::WriteFile(path, std::string(100001, 'x'));
    EXPECT_EQ(ReadFileContents(path, 100001)->size(), 100001u);
    for (const std::string& source : {path, std::string("/dev/zero")}) {
        try {
            ReadFileContents(source, 100000);
            ADD_FAILURE() << source << " was read";
        } catch (const OsError& error) {
            EXPECT_EQ(error.ErrorNumber(), EFBIG) << source;
        }
    }
}

}  // namespace
}  // namespace selvane::platform
