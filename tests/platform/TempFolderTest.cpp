#include "platform/TempFolder.h"

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

// Sets TMPDIR for one test and puts the old value back afterwards.
class TmpdirGuard {
public:
    TmpdirGuard()
    {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
    }
    ~TmpdirGuard()
    {
        if (old_) setenv("TMPDIR", old_->c_str(), 1);
        else unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> old_;
};

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("selvane-tempfolder-" + std::to_string(getpid()));
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    TmpdirGuard guard_;
    fs::path root_;
};

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
