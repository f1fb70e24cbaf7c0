#include "platform/ProgramVersion.h"

namespace selvane::platform {

std::string ProgramVersion()
{
    return SELVANE_VERSION;
}

}  // namespace selvane::platform
