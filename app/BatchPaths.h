// The pictures a command line names, and the folder each one's output goes to: the
// "Output" folder beside it, the --output folder, or with --recursive or --relative-to the
// picture's own folder tree kept under that folder.
#pragma once

#include "app/ResizeCommandLine.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace selvane {

struct BatchPicture {
    std::string source;        // full path
    std::string outputFolder;  // full path, ending in "/"
};

struct BatchPaths {
    std::vector<BatchPicture> pictures;
    // Something named could not be read or placed (said on errors): the batch cannot end well.
    bool problems = false;
};

// The path made absolute and normal: the log names full paths, as the desktop program's does.
std::string FullPath(const std::string& path);

// The paths of a list, one a line (empty lines skipped) or each ending in NUL.
std::vector<std::string> ReadPathList(std::istream& list, bool nullSeparated);

// line.outputFolder and line.relativeTo are full paths here. Each problem is one line on
// errors, beginning "selvane-resize: ".
BatchPaths CollectPictures(const ResizeCommandLine& line, std::ostream& errors);

}  // namespace selvane
