#include "update/UpdateUrl.h"

#include <strings.h>

#include <string_view>

namespace selvane {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

std::string WithHttpScheme(const std::string& address)
{
    if (StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://")) return address;
    return "http://" + address;
}

TUrlParts SplitUrl(const std::string& address)
{
    TUrlParts parts;
    std::string_view rest = address;
    // Only a scheme at the very start counts: a query may well hold another address.
    if (StartsWithNoCase(rest, "https://")) {
        parts.Scheme = "https";
        rest.remove_prefix(8);
    } else {
        parts.Scheme = "http";
        if (StartsWithNoCase(rest, "http://")) rest.remove_prefix(7);
    }
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos) {
        parts.Object = rest;
    } else {
        parts.Server = rest.substr(0, slash);
        parts.Object = rest.substr(slash);
    }
    return parts;
}

}  // namespace selvane
