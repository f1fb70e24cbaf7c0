// The folder for temporary files: $TMPDIR when it is set and names a folder, otherwise
// "/tmp". The answer always ends in "/". Reads the environment on every call; never throws.
#pragma once

#include <string>

namespace selvane::platform {

std::string GetTempFolder();

}  // namespace selvane::platform
