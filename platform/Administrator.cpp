#include "platform/Administrator.h"

#include <unistd.h>

namespace selvane::platform {

namespace {

std::optional<bool>& Override()
{
    static std::optional<bool> administrator;
    return administrator;
}

}  // namespace

bool IsAdministrator()
{
    return Override().value_or(geteuid() == 0);
}

void OverrideAdministratorForTesting(std::optional<bool> administrator)
{
    Override() = administrator;
}

}  // namespace selvane::platform
