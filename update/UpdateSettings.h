// The update component's settings: comparison mode, options, the product's address and
// version, and the names of the META tags read from the update page. Plain values.
#pragma once

#include "update/UpdateUrl.h"

#include <initializer_list>
#include <string>

namespace selvane {

enum class TVersionFormat {
    vfStandard,  // dotted integers, compared component by component
    vfString,    // plain character-code order
    vfNumber,    // decimal floating-point numbers
};

enum class TUpdateOption {
    uoRunUpdate,  // start the downloaded file
    uoTerminate,  // then ask the application to end
    uoOverwrite,  // overwrite an existing local file (the owner is still asked)
};

// A set of TUpdateOption; bit n stands for the option of value n.
class TUpdateOptions {
public:
    constexpr TUpdateOptions() = default;
    constexpr TUpdateOptions(std::initializer_list<TUpdateOption> options)
    {
        for (const TUpdateOption option : options) bits_ |= Bit(option);
    }

    constexpr bool Contains(TUpdateOption option) const { return (bits_ & Bit(option)) != 0; }
    constexpr unsigned Bits() const { return bits_; }

private:
    static constexpr unsigned Bit(TUpdateOption option) { return 1u << static_cast<unsigned>(option); }

    unsigned bits_ = 0;
};

class TProductInfo {
public:
    // Address of the update page; setting it puts "http://" in front of an address that
    // starts with neither "http://" nor "https://".
    const std::string& URL() const { return url_; }
    void SetURL(const std::string& value) { url_ = WithHttpScheme(value); }

    std::string CurVersion = "0.0";  // version of the running program
    TVersionFormat VersionFormat = TVersionFormat::vfStandard;

private:
    std::string url_ = "http://";
};

// Names of the META tags that carry the update values; compared exactly, letter case
// included.
struct TTagInfo {
    std::string Author = "wuAuthor";
    std::string Email = "wuEmail";
    std::string ClientFileName = "wuClientSideName";
    std::string Download = "wuDownload";
    std::string ProductName = "wuProduct";
    std::string Redirection = "wuRedirection";
    std::string RunParameters = "wuRunParameters";
    std::string Version = "wuVersion";
};

// The names that the maker's own update page uses.
inline const TTagInfo kSiteTagInfo{.Author = "TessaroAuthor",
                                   .Email = "TessaroEmail",
                                   .ClientFileName = "TessaroClientSideName",
                                   .Download = "TessaroDownload",
                                   .ProductName = "TessaroProduct",
                                   .Redirection = "TessaroRedirection",
                                   .RunParameters = "TessaroRunParameters",
                                   .Version = "TessaroVersion"};

}  // namespace selvane
