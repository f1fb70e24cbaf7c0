// Whether the process runs with administrator rights: its effective user id is 0.
//
// Tests can pretend either answer; the override is process-wide and must be set while no
// other thread asks. Never throws.
#pragma once

#include <optional>

namespace selvane::platform {

bool IsAdministrator();

// The answer for IsAdministrator() from now on; std::nullopt returns to the real test.
void OverrideAdministratorForTesting(std::optional<bool> administrator);

}  // namespace selvane::platform
