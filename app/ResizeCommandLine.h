// The arguments of selvane-resize, parsed into the options of the image job.
#pragma once

#include "engine/job/ImageJob.h"

#include <optional>
#include <string>
#include <vector>

namespace selvane {

struct ResizeCommandLine {
    JobOptions options;
    std::vector<std::string> paths;
    std::string outputFolder;  // empty: the "Output" subfolder of each picture's folder
    int jobs = 0;              // 0: one per core
    bool help = false;
    bool version = false;
};

// Throws std::invalid_argument with a one-line explanation for a usage error.
ResizeCommandLine ParseResizeCommandLine(const std::vector<std::string>& arguments);

extern const char* const kResizeUsage;

}  // namespace selvane
