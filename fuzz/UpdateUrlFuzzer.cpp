// libFuzzer target for the update addresses: the input is an address as a person or a page
// may give it. It is normalised as the product address is (http:// put in front when it
// has no scheme) and split into server and object path.
//
// What must hold: the normalised address starts with a scheme and ends with the input
// unchanged; the split gives http or https, a server without "/", an object path that
// starts with "/" whenever there is a server, and loses no character after the scheme.
#include "update/UpdateSettings.h"
#include "update/UpdateUrl.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <strings.h>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    return strncasecmp(text.c_str(), prefix, std::char_traits<char>::length(prefix)) == 0;
}

void CheckSplit(const std::string& address)
{
    const selvane::TUrlParts parts = selvane::SplitUrl(address);
    std::size_t schemeLength = 0;
    if (parts.Scheme == "https") {
        if (!StartsWithNoCase(address, "https://")) Fail("https without an https address");
        schemeLength = 8;
    } else if (parts.Scheme == "http") {
        if (StartsWithNoCase(address, "https://")) Fail("an https address taken as http");
        if (StartsWithNoCase(address, "http://")) schemeLength = 7;
    } else {
        Fail("a scheme other than http or https");
    }
    if (parts.Server.find('/') != std::string::npos) Fail("a server name with a slash");
    if (!parts.Server.empty() && parts.Object.rfind('/', 0) != 0)
        Fail("an object path that does not start with a slash");
    if (parts.Server + parts.Object != address.substr(schemeLength)) Fail("characters lost in the split");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string address(reinterpret_cast<const char*>(data), size);
    CheckSplit(address);

    selvane::TProductInfo product;
    product.SetURL(address);
    const std::string& url = product.URL();
    if (!StartsWithNoCase(url, "http://") && !StartsWithNoCase(url, "https://"))
        Fail("a product address without a scheme");
    if (url.size() < address.size() || url.compare(url.size() - address.size(), address.size(), address) != 0)
        Fail("the product address changed the given text");
    CheckSplit(url);
    return 0;
}
