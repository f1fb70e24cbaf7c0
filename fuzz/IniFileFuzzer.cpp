// libFuzzer target for the settings file: the input is the file's contents. Every key of
// the program's settings is read in every way, then one key (chosen by a hash of the
// input) is written with a piece of the input as its value.
//
// What must hold: reads never fail and give at most 2047 bytes, trimmed, without NUL; the
// write succeeds; the key then reads back as the value written (line breaks as spaces,
// trimmed, cut to 2047 bytes); and no other key reads differently than before.
#include "FuzzFolder.h"
#include "util/TessaroIniFile.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>
#include <utility>
#include <vector>

#include <strings.h>

namespace selvane::fuzz {
namespace {

constexpr std::size_t kMaxValue = 2047;
constexpr std::string_view kBlanks = " \t\r\v\f";

using Key = std::pair<const char*, const char*>;

// The program's own sections and keys, and a few spellings that differ in letter case.
constexpr std::array kKeys = {
    Key{"WindowState", "Last_used_tab"},
    Key{"WindowState", "Left"},
    Key{"WindowState", "Top"},
    Key{"WindowState", "Width"},
    Key{"WindowState", "Height"},
    Key{"WindowState", "Maximized"},
    Key{"Resize", "radXDecrease"},
    Key{"Resize", "radXIncrease"},
    Key{"Resize", "radSameHeight"},
    Key{"Resize", "radSameWidth"},
    Key{"Resize", "radSameSize"},
    Key{"Updates", "LastCheck"},
    Key{"Updates", "spnAutoUpdate"},
    Key{"Settings", "trkQuality"},
    Key{"Settings", "spnHideHint"},
    Key{"Settings", "spnOpacity"},
    Key{"Settings", "spnWidth"},
    Key{"Settings", "cmbResampleQ"},
    Key{"Settings", "spnWH"},
    Key{"Settings", "spnRound"},
    Key{"Settings", "spnZecimal"},
    Key{"Settings", "chkTrayIcon"},
    Key{"Settings", "chkPreview"},
    Key{"Settings", "chkSkins"},
    Key{"Settings", "chkSounds"},
    Key{"Settings", "radHintsOff"},
    Key{"Settings", "radHintsTooltips"},
    Key{"Settings", "radHintsStatBar"},
    Key{"Settings", "chkAutoStartUp"},
    Key{"Settings", "chkProtect"},
    Key{"Settings", "chkOverwrite"},
    Key{"Settings", "LastPath"},
    Key{"SETTINGS", "lastpath"},
    Key{"s", "k"},
    Key{"S", "K"},
};

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

std::uint64_t Hash(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x100000001b3u;
    return hash;
}

std::vector<std::string> ReadAll(const TTessaroIniFile& ini)
{
    std::vector<std::string> values;
    for (const auto& [section, key] : kKeys) {
        // Values come back trimmed, so no stored value can equal this default.
        const std::string value = ini.ReadString(section, key, " missing");
        if (value == " missing") {
            if (ini.ValueExists(section, key)) Fail("a key that exists read as missing");
        } else if (value.size() > kMaxValue || value.find('\0') != std::string::npos ||
                   (!value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                                       kBlanks.find(value.back()) != std::string_view::npos))) {
            Fail("a value read untrimmed, too long or with a NUL");
        }
        values.push_back(value);
    }
    return values;
}

// What a value written should read back as, apart from the cut at 2047 bytes.
std::string Stored(std::string_view value)
{
    std::string text(value.substr(0, value.find('\0')));
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace
}  // namespace selvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace selvane;
    using namespace selvane::fuzz;
    static const FuzzFolder folder("selvane-fuzz-ini");
    const std::string path = folder.Path() + "SelvaneResizer.INI";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    TTessaroIniFile ini(path);
    const std::vector<std::string> before = ReadAll(ini);

    const std::uint64_t hash = Hash(data, size);
    const std::size_t chosen = hash % kKeys.size();
    const auto [section, key] = kKeys[chosen];
    ini.ReadInteger(section, key, 0);
    ini.ReadBool(section, key, true);
    ini.ReadDate(section, key, 0.0);

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t start = size == 0 ? 0 : (hash >> 8) % size;
    const std::string_view value = text.substr(start, (hash >> 32) % 3000);
    try {
        ini.WriteString(section, key, std::string(value));
    } catch (const EIniFileException& error) {
        Fail(std::string("refused write: ") + error.what());
    }

    const std::vector<std::string> after = ReadAll(ini);
    const std::string expected = Stored(value);
    const std::string& read = after[chosen];
    const bool whole = expected.size() <= kMaxValue && read == expected;
    const bool cut = expected.size() > kMaxValue && read.size() + 3 >= kMaxValue &&
                     expected.compare(0, read.size(), read) == 0;
    if (!whole && !cut) Fail("the value written does not read back");
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const bool sameKey =
            strcasecmp(kKeys[i].first, section) == 0 && strcasecmp(kKeys[i].second, key) == 0;
        if (!sameKey && after[i] != before[i]) Fail("a write changed another key");
    }
    return 0;
}
