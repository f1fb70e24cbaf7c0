#include "platform/TempFolder.h"
#include "tests/support/TestSandbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using selvane::platform::GetTempFolder;

namespace {

// The sandbox puts TMPDIR back after each test.
using TempFolderTest = selvane::test::TemporaryFolderTest;

TEST_F(TempFolderTest, TakesTmpdirWhenItIsAFolderAndAddsTheSeparator)
{
    setenv("TMPDIR", root_.c_str(), 1);
    EXPECT_EQ(GetTempFolder(), root_.string() + "/");

    setenv("TMPDIR", (root_.string() + "/").c_str(), 1);
    EXPECT_EQ(GetTempFolder(), root_.string() + "/");
}

TEST_F(TempFolderTest, FallsBackToTmpWhenTmpdirIsUnusable)
{
    const fs::path file = root_ / "plain-file";
    std::ofstream(file) << "x";
    for (const std::string& value : {std::string(), file.string(), (root_ / "missing").string()}) {
        setenv("TMPDIR", value.c_str(), 1);
        EXPECT_EQ(GetTempFolder(), "/tmp/") << "TMPDIR=" << value;
    }
    unsetenv("TMPDIR");
    EXPECT_EQ(GetTempFolder(), "/tmp/");
}

}  // namespace
