// The arguments of selvane-resize, parsed into the options of the image job.
#pragma once

#include "engine/job/ImageJob.h"

#include <optional>
#include <string>
#include <vector>

namespace selvane {

enum class LogFormat { Text, Jsonl };

struct ResizeCommandLine {
    JobOptions options;
    std::vector<std::string> paths;
    std::string outputFolder;    // empty: the "Output" subfolder of each picture's folder
    int jobs = 0;                // 0: one per core
    bool recursive = false;      // folders' subfolders too, the tree kept under the output
    std::string filesFrom;       // more paths, one a line ("-": standard input)
    bool nullSeparated = false;  // those paths end in NUL, not in a line end
    std::string relativeTo;      // outputs keep the pictures' tree below this folder
    LogFormat logFormat = LogFormat::Text;
    bool help = false;
    bool version = false;
};

// Throws std::invalid_argument with a one-line explanation for a usage error.
ResizeCommandLine ParseResizeCommandLine(const std::vector<std::string>& arguments);

extern const char* const kResizeUsage;

}  // namespace selvane
