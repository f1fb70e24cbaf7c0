// libFuzzer target for the path splitting of the file list's ApplyPath (and the folder
// tree): the input is the text a person types or pastes. It is read against a real folder
// holding ordinary names and names that look like the list's "[folder]" entries or
// patterns, with that folder, no folder, "/" or a relative folder as the base (chosen by a
// hash of the input).
//
// What must hold: the folder part is never empty and is absolute when the base is; the
// file part holds no "/"; a pattern holds "*" or "?"; a file part that is no pattern names
// an existing entry.
#include "FuzzFolder.h"
#include "source/listing/ListPath.h"
#include "util/TessaroTPU.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

const std::string& Folder()
{
    static const selvane::fuzz::FuzzFolder folder("selvane-fuzz-path");
    static const std::string path = [] {
        const std::string root = folder.Path();
        for (const char* name : {"a.jpg", "[b]", "c*?.png", "IMG 12:30.JPG", ".hidden"})
            std::ofstream(root + name) << "x";
        for (const char* name : {"sub", "[d]", "e*", "sub/inner"})
            std::filesystem::create_directory(root + name);
        return root;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x100000001b3u;
    const std::string& folder = Folder();
    const std::string bases[] = {folder, folder.substr(0, folder.size() - 1), "", "/", "sub"};
    const std::string& base = bases[hash % std::size(bases)];

    const selvane::ListPath parts = selvane::SplitListPath(text, base);
    if (parts.folder.empty()) Fail("an empty folder part");
    if (!base.empty() && base.front() == '/' && parts.folder.front() != '/') Fail("a relative folder part");
    if (parts.file.find('/') != std::string::npos) Fail("a file part with a slash");
    if (parts.pattern && parts.file.find_first_of("*?") == std::string::npos)
        Fail("a pattern without wildcards");
    if (!parts.pattern && !parts.file.empty() &&
        !selvane::FileExists(selvane::AddTrailingBackslash(parts.folder) + parts.file))
        Fail("a file part that names nothing");
    return 0;
}
