// The sequencing that the desktop program and the command line share: the job-log header,
// one job per name with the log line for each saved file, the abort check between files,
// and the closing time text. The host supplies what differs: where a name's picture lives,
// the options of the moment, and what happens between two files (the desktop program moves
// the list's focus and lets window messages through there).
#pragma once

#include "engine/job/ImageJob.h"

#include <any>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace selvane {

enum class JobKind { Batch, SingleImage };

inline constexpr const char* kSavedLinePrefix = "File resized and saved as: ";
inline constexpr const char* kAbortedLine = "Process aborted.";

// The lines that open a job in the log: three empty lines, the date and time in the user's
// short date and long time format with " NEW BATCH JOB STARTED" or " RESIZING SINGLE IMAGE",
// and one empty line.
std::vector<std::string> JobHeaderLines(JobKind kind, std::time_t now);

// "Batch job done in " / "Job done in " + seconds cut to two decimals + " sec".
std::string JobDoneText(JobKind kind, std::uint32_t elapsedMilliseconds);

// A millisecond tick counter; differences of two readings wrap like the counter does.
std::uint32_t TickCount();

class BatchHost : public JobHost {
public:
    virtual std::string SourcePath(const std::string& name) = 0;
    virtual std::string OutputFolder(const std::string& sourcePath) = 0;
    virtual JobOptions Options() = 0;
    // Runs before each name's abort check.
    virtual void BeforeFile(const std::string& name) = 0;
    virtual bool AbortRequested() = 0;
    // Runs after each name's job and its log lines, with what the job gave.
    virtual void FileDone(const std::string& name, const JobResult& result)
    {
        static_cast<void>(name);
        static_cast<void>(result);
    }

    // For the concurrent batch (ConcurrentBatch.h), which runs the jobs on worker threads.
    // Runs on the calling thread every few milliseconds while it waits for a job: the window
    // lets its messages through here.
    virtual void WhileWaiting() {}
    // Runs on the worker thread with the picture a job has loaded; what it keeps is handed
    // to ShowKeptPicture on the calling thread in the picture's turn, in place of
    // PictureLoaded. Safe to call from several threads at once.
    virtual std::any KeepPicture(const Raster& picture, bool repaintNow)
    {
        static_cast<void>(picture);
        static_cast<void>(repaintNow);
        return {};
    }
    virtual void ShowKeptPicture(std::any& kept) { static_cast<void>(kept); }
};

struct BatchSummary {
    int saved = 0;
    int notSaved = 0;  // skipped or failed
    bool aborted = false;
    bool factorRefused = false;
    std::uint32_t elapsedMilliseconds = 0;

    // Counts one finished job, and logs the file it saved.
    void Count(const JobResult& result, JobHost& host);
};

// Writes the header, then runs one job per name in order until the names are done, an
// abort is requested or a factor is refused.
BatchSummary RunBatch(const std::vector<std::string>& names, BatchHost& host);

}  // namespace selvane
