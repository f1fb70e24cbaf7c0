#include "engine/job/ConcurrentBatch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

namespace selvane {

namespace {

// One picture of the batch: its inputs, and what its job said, kept until its turn to be
// shown.
struct Item {
    std::string name;
    std::string source;
    std::string outputFolder;
    JobOptions options;
    std::vector<std::pair<bool, std::string>> said;  // (is an error box, text) in order
    std::any picture;                                // what the host kept of the loaded one
    JobResult result;
    std::exception_ptr error;
    bool started = false;
    bool done = false;
};

class RecordingHost final : public JobHost {
public:
    RecordingHost(Item& item, BatchHost& batch) : item_(item), batch_(batch) {}
    void AppendLog(const std::string& line) override { item_.said.emplace_back(false, line); }
    void ShowError(const std::string& text) override { item_.said.emplace_back(true, text); }
    void PictureLoaded(const Raster& picture, bool repaintNow) override
    {
        item_.picture = batch_.KeepPicture(picture, repaintNow);
    }
    void FocusFactorField() override {}

private:
    Item& item_;
    BatchHost& batch_;
};

// Items grouped by output path, each group in input order, the groups in the order of
// their first item.
std::vector<std::vector<std::size_t>> ChainsByOutputPath(const std::vector<Item>& items)
{
    std::vector<std::vector<std::size_t>> chains;
    std::map<std::string, std::size_t> chainOfPath;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string path = OutputPathFor(items[i].source, items[i].outputFolder, items[i].options);
        const auto [at, added] = chainOfPath.try_emplace(path, chains.size());
        if (added) chains.emplace_back();
        chains[at->second].push_back(i);
    }
    return chains;
}

// How often the calling thread looks up from waiting.
constexpr std::chrono::milliseconds kWaitTick{10};

bool FactorRefused(const JobOptions& options)
{
    // Only the factor rules can refuse, whatever the picture's size.
    return !ComputeOutputSize(options.size, 1, 1);
}

}  // namespace

BatchSummary RunBatchConcurrently(const std::vector<std::string>& names, BatchHost& host, int jobs)
{
    std::vector<Item> items(names.size());
    bool anyRefused = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        items[i].name = names[i];
        items[i].source = host.SourcePath(names[i]);
        items[i].outputFolder = host.OutputFolder(items[i].source);
        items[i].options = host.Options();
        anyRefused = anyRefused || FactorRefused(items[i].options);
    }
    if (jobs <= 1 || anyRefused || items.size() < 2) return RunBatch(names, host);

    const Raster::ReleaseSpareMemoryAtEnd release;  // after the workers end
    for (const std::string& line : JobHeaderLines(JobKind::Batch, std::time(nullptr))) host.AppendLog(line);
    const std::uint32_t start = TickCount();
    const std::vector<std::vector<std::size_t>> chains = ChainsByOutputPath(items);

    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> nextChain{0};
    bool stop = false;  // no picture starts any more; guarded by mutex
    const auto work = [&] {
        for (std::size_t c = nextChain++; c < chains.size(); c = nextChain++) {
            for (std::size_t i : chains[c]) {
                Item& item = items[i];
                {
                    const std::lock_guard lock(mutex);
                    if (stop) return;
                    item.started = true;
                }
                try {
                    RecordingHost recorder(item, host);
                    item.result = ProcessImage(item.source, item.outputFolder, item.options, recorder);
                } catch (...) {
                    item.error = std::current_exception();
                }
                const std::lock_guard lock(mutex);
                item.done = true;
                finished.notify_all();
            }
        }
    };
    std::vector<std::jthread> workers;
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(jobs), chains.size());
    for (std::size_t t = 0; t < threads; ++t) workers.emplace_back(work);

    // Only this thread sets stop, so it reads it without the lock.
    const auto pollAbort = [&] {
        if (stop || !host.AbortRequested()) return;
        const std::lock_guard lock(mutex);
        stop = true;
    };
    // Waits for the item's job, letting the host's messages through; false when the item
    // was never started because of an abort.
    const auto awaitItem = [&](const Item& item) {
        for (;;) {
            {
                std::unique_lock lock(mutex);
                if (finished.wait_for(lock, kWaitTick, [&] { return item.done || (stop && !item.started); }))
                    return item.done;
            }
            host.WhileWaiting();
            pollAbort();
        }
    };
    BatchSummary summary;
    try {
        for (Item& item : items) {
            if (!awaitItem(item)) {
                summary.aborted = true;
                continue;  // a later item may have started before the abort
            }
            host.BeforeFile(item.name);
            if (item.error) std::rethrow_exception(item.error);
            if (item.picture.has_value()) host.ShowKeptPicture(item.picture);
            item.picture.reset();
            for (const auto& [isError, text] : item.said) {
                if (isError) host.ShowError(text);
                else host.AppendLog(text);
            }
            summary.Count(item.result, host);
            host.FileDone(item.name, item.result);
            pollAbort();  // between two pictures, as one by one
        }
    } catch (...) {
        const std::lock_guard lock(mutex);
        stop = true;  // the workers finish their current picture and end; jthread joins them
        throw;
    }
    if (summary.aborted) host.AppendLog(kAbortedLine);
    summary.elapsedMilliseconds = TickCount() - start;
    return summary;
}

}  // namespace selvane
