#include "engine/job/BatchJob.h"

#include "util/TessaroTPU.h"

#include <chrono>
#include <langinfo.h>

namespace selvane {

std::vector<std::string> JobHeaderLines(JobKind kind, std::time_t now)
{
    std::tm local{};
    localtime_r(&now, &local);
    const std::string format = std::string(nl_langinfo(D_FMT)) + " " + nl_langinfo(T_FMT);
    char stamp[256];
    const std::size_t length = std::strftime(stamp, sizeof stamp, format.c_str(), &local);
    const char* title = kind == JobKind::Batch ? " NEW BATCH JOB STARTED" : " RESIZING SINGLE IMAGE";
    return {"", "", "", std::string(stamp, length) + title, ""};
}

std::string JobDoneText(JobKind kind, std::uint32_t elapsedMilliseconds)
{
    const char* prefix = kind == JobKind::Batch ? "Batch job done in " : "Job done in ";
    return prefix + FormatReal(elapsedMilliseconds / 1000.0, 2) + " sec";
}

std::uint32_t TickCount()
{
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void BatchSummary::Count(const JobResult& result, JobHost& host)
{
    if (result.SavedPath.empty()) {
        ++notSaved;
    } else {
        ++saved;
        host.AppendLog(kSavedLinePrefix + result.SavedPath);
    }
}

BatchSummary RunBatch(const std::vector<std::string>& names, BatchHost& host)
{
    const Raster::ReleaseSpareMemoryAtEnd release;
    for (const std::string& line : JobHeaderLines(JobKind::Batch, std::time(nullptr))) host.AppendLog(line);
    BatchSummary summary;
    const std::uint32_t start = TickCount();
    for (const std::string& name : names) {
        host.BeforeFile(name);
        if (host.AbortRequested()) {
            host.AppendLog(kAbortedLine);
            summary.aborted = true;
            break;
        }
        const std::string source = host.SourcePath(name);
        const JobResult result = ProcessImage(source, host.OutputFolder(source), host.Options(), host);
        summary.Count(result, host);
        host.FileDone(name, result);
        if (!result.ContinueBatch) {
            summary.factorRefused = true;
            break;
        }
    }
    summary.elapsedMilliseconds = TickCount() - start;
    return summary;
}

}  // namespace selvane
