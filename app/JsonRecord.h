// The record of one picture that --log-format jsonl writes: one JSON object on one line,
// for collecting the results of many runs (under GNU Parallel, say).
#pragma once

#include "engine/job/ImageJob.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace selvane {

// text as a JSON string, quotes included. Bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view text);

// {"source": ..., "status": "saved" | "skipped" | "failed", "output": path or null,
//  "width", "height", "output_width", "output_height", "bytes", "milliseconds",
//  "messages": [the job's log lines and error boxes]}. A picture not saved after an
// "ERROR!" line or a box failed; otherwise it was skipped.
std::string PictureRecord(const std::string& source, const JobResult& result, std::uint64_t bytes,
                          const std::vector<std::string>& messages, bool failed);

}  // namespace selvane
