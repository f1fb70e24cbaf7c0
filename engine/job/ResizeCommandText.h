// The selvane-resize command that does what a batch of the window does: the same options
// on the same pictures, each word quoted for a POSIX shell where it needs it. Running it
// gives the window's output files.
#pragma once

#include "engine/job/ImageJob.h"

#include <string>
#include <vector>

namespace selvane {

// text as one word of a POSIX shell: as it is when it holds nothing the shell would read,
// else in single quotes (a quote inside as '\'').
std::string ShellWord(const std::string& text);

// The outputs go where the command line puts them by default: the "Output" folder beside
// each picture, as the window's batch does.
std::string ResizeCommandText(const JobOptions& options, const std::vector<std::string>& pictures);

}  // namespace selvane
