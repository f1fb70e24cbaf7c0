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

// outputFolder: where the window's batch writes, a full path; empty for the command line's
// default, the "Output" folder beside each picture, as the window's own default.
// treeFolder: for pictures of a folder tree whose outputs keep its subfolders below
// outputFolder (which must be given then), the tree's top folder; empty otherwise.
std::string ResizeCommandText(const JobOptions& options, const std::vector<std::string>& pictures,
                              const std::string& outputFolder = "", const std::string& treeFolder = "");

}  // namespace selvane
