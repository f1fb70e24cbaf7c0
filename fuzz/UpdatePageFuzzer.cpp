// libFuzzer target for the update page: the input is the page as the server sends it. It
// is split into lines and read with the program's tag names; the values the check goes on
// to use (the addresses and the download's file name) are put through their own rules.
//
// What must hold: no line holds a line break or NUL; every value is shorter than 255
// characters; the local file name is a bare name.
#include "update/ClientFileName.h"
#include "update/UpdatePage.h"
#include "update/UpdateUrl.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace selvane;
    const TTagInfo& tags = kSiteTagInfo;

    const std::vector<std::string> lines = SplitPageLines({reinterpret_cast<const char*>(data), size});
    for (const std::string& line : lines)
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            Fail("a line holds a line break or NUL");

    const TFoundInfo found = ParseUpdateInfo(lines, tags);
    for (const std::string* value :
         {&found.Version, &found.Download, &found.ClientFileName, &found.Redirection, &found.Author,
          &found.Email, &found.ProductName, &found.RunParameters})
        if (value->size() >= 255) Fail("a value of 255 characters or more");

    if (const auto name = ClientFileBaseName(found.ClientFileName)) {
        if (name->empty() || *name == "." || *name == ".." || name->find_first_of("/\\") != std::string::npos)
            Fail("the local file name is not a bare name");
    }
    SplitUrl(WithHttpScheme(found.Download));
    SplitUrl(found.Redirection);
    return 0;
}
