// The program's version as the build compiled it in from the project version, in the
// dotted form "1.5.3.56". Never throws.
#pragma once

#include <string>

namespace selvane::platform {

std::string ProgramVersion();

}  // namespace selvane::platform
