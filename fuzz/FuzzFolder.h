// A private temporary folder for a fuzz target that has to go through files, made on first
// use and removed when the process ends normally.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace selvane::fuzz {

class FuzzFolder {
public:
    explicit FuzzFolder(const std::string& name)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
        root_ = pattern;
    }
    ~FuzzFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    // The folder followed by "/".
    std::string Path() const { return root_.string() + "/"; }

private:
    std::filesystem::path root_;
};

}  // namespace selvane::fuzz
