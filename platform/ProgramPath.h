// The running program's own file, as the system reports it (/proc/self/exe): absolute,
// with symbolic links resolved. Never throws; the empty text when it cannot be read.
//
// Tests can pretend that the program lives elsewhere; the override is process-wide and
// must be set while no other thread asks.
#pragma once

#include <optional>
#include <string>

namespace selvane::platform {

std::string ProgramPath();

// A path for ProgramPath() to answer from now on; std::nullopt returns to the real one.
void OverrideProgramPathForTesting(std::optional<std::string> path);

}  // namespace selvane::platform
