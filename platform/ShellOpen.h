// Opening a file, folder or web address with the desktop's default action, through
// xdg-open (found on PATH).
//
// The call does not wait for the opened program: xdg-open runs in a process of its own
// that is not this process's child (a double fork), so nothing is left to reap and no
// zombie remains. Its standard input and output are /dev/null; its error output is this
// process's. Never throws. Safe to call from any thread.
#pragma once

#include <string>

namespace selvane::platform {

// True when xdg-open was started for target; false when it is not on PATH or could not be
// started. What xdg-open then makes of the target is not reported.
bool OpenWithDefaultApplication(const std::string& target);

}  // namespace selvane::platform
