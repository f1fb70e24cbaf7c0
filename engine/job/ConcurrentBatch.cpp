#include "engine/job/ConcurrentBatch.h"

#include <atomic>
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
    JobResult result;
    std::exception_ptr error;
    bool done = false;
};

class RecordingHost final : public JobHost {
public:
    explicit RecordingHost(Item& item) : item_(item) {}
    void AppendLog(const std::string& line) override { item_.said.emplace_back(false, line); }
    void ShowError(const std::string& text) override { item_.said.emplace_back(true, text); }
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}

private:
    Item& item_;
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

    for (const std::string& line : JobHeaderLines(JobKind::Batch, std::time(nullptr))) host.AppendLog(line);
    const std::uint32_t start = TickCount();
    const std::vector<std::vector<std::size_t>> chains = ChainsByOutputPath(items);

    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> nextChain{0};
    std::atomic<bool> stop{false};
    const auto work = [&] {
        for (std::size_t c = nextChain++; c < chains.size() && !stop; c = nextChain++) {
            for (std::size_t i : chains[c]) {
                Item& item = items[i];
                try {
                    RecordingHost recorder(item);
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

    BatchSummary summary;
    try {
        for (Item& item : items) {
            {
                std::unique_lock lock(mutex);
                finished.wait(lock, [&] { return item.done; });
            }
            host.BeforeFile(item.name);
            if (item.error) std::rethrow_exception(item.error);
            for (const auto& [isError, text] : item.said) {
                if (isError) host.ShowError(text);
                else host.AppendLog(text);
            }
            summary.Count(item.result, host);
            host.FileDone(item.name, item.result);
        }
    } catch (...) {
        stop = true;  // the workers finish their current picture and end; jthread joins them
        throw;
    }
    summary.elapsedMilliseconds = TickCount() - start;
    return summary;
}

}  // namespace selvane
