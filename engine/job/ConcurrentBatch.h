// A batch whose pictures are processed on several threads at once, for the command line.
// What the host sees is what RunBatch would show it: the same header, the same log lines
// and error boxes in input order, all on the calling thread. Pictures that write to the
// same output path are processed one after another in input order, so the overwrite rule
// comes out as it does one by one. The host's options and folders are read once per name,
// before any picture starts; BeforeFile is called as each picture's lines are handed over.
// While it waits, the calling thread runs WhileWaiting and polls AbortRequested: after an
// abort no picture starts, the pictures already started finish and are handed over in
// input order, and "Process aborted." follows them.
#pragma once

#include "engine/job/BatchJob.h"

namespace selvane {

// jobs: threads to use (at least 1). With 1, or when the options refuse their factor, this
// is RunBatch.
BatchSummary RunBatchConcurrently(const std::vector<std::string>& names, BatchHost& host, int jobs);

}  // namespace selvane
