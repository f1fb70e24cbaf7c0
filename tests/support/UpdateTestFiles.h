// Small helpers shared by the update tests: META lines, recognisable setup bytes, and
// whole-file and folder reads.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace selvane::test {

inline std::string Meta(const std::string& name, const std::string& value)
{
    return "<META NAME=\"" + name + "\" CONTENT=\"" + value + "\">";
}

// Bytes that differ from position to position, so that a lost or shifted chunk shows.
inline std::string SetupBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    return bytes;
}

inline std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::filesystem::path& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary) << data;
}

// The names in a folder, hidden ones included, sorted.
inline std::vector<std::string> FolderEntries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace selvane::test
