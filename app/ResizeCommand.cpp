// selvane-resize: the batch resizer without a window. It prints the job log to standard
// output exactly as the desktop program writes it, or one JSON record per picture; usage
// errors and error boxes go to standard error.
#include "app/BatchPaths.h"
#include "app/JsonRecord.h"
#include "app/ResizeCommandLine.h"
#include "engine/job/ConcurrentBatch.h"
#include "util/TessaroTPU.h"

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <new>
#include <set>
#include <thread>
#include <unistd.h>

namespace selvane {
namespace {

// The batch's names are the pictures' indices in the collected list: the same picture
// may be named twice with two output folders.
class CommandHost final : public BatchHost {
public:
    CommandHost(const ResizeCommandLine& line, const std::vector<BatchPicture>& pictures)
        : line_(line), pictures_(pictures)
    {}

    void AppendLog(const std::string& text) override
    {
        if (Jsonl()) {
            // The header, the saved lines and the closing line are in the records already.
            if (current_ && !text.starts_with(kSavedLinePrefix)) messages_.push_back(text);
            return;
        }
        // On a terminal the count stands on the last line: take it away for the log line and
        // draw it again below it.
        ClearProgress();
        std::cout << text << '\n' << std::flush;
        DrawProgress();
    }
    void ShowError(const std::string& text) override
    {
        if (Jsonl()) messages_.push_back(text), failed_ = true;
        ShowErrorMessage(text);
    }
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}
    std::string SourcePath(const std::string& name) override { return Picture(name).source; }
    std::string OutputFolder(const std::string& sourcePath) override
    {
        // Called right after SourcePath for the same name.
        static_cast<void>(sourcePath);
        return asked_->outputFolder;
    }
    JobOptions Options() override { return line_.options; }
    bool AbortRequested() override { return false; }
    void BeforeFile(const std::string& name) override
    {
        ++done_;
        current_ = &Picture(name);
        messages_.clear();
        failed_ = false;
        DrawProgress();
    }
    void FileDone(const std::string&, const JobResult& result) override
    {
        if (!Jsonl()) return;
        std::error_code error;
        const std::uintmax_t bytes =
            result.SavedPath.empty() ? 0 : std::filesystem::file_size(result.SavedPath, error);
        for (const std::string& message : messages_)
            failed_ = failed_ || message.starts_with("ERROR!") || message.starts_with("Cannot save");
        ClearProgress();
        std::cout << PictureRecord(current_->source, result, error ? 0 : bytes, messages_, failed_) << '\n'
                  << std::flush;
        DrawProgress();
    }
    void EndProgress()
    {
        ClearProgress();
        done_ = 0;
    }

private:
    bool Jsonl() const { return line_.logFormat == LogFormat::Jsonl; }
    const BatchPicture& Picture(const std::string& name)
    {
        asked_ = &pictures_[std::stoul(name)];
        return *asked_;
    }
    void DrawProgress() const
    {
        if (showProgress_ && done_ > 0)
            std::cerr << "\rpicture " << done_ << " of " << pictures_.size() << std::flush;
    }
    void ClearProgress() const
    {
        if (showProgress_ && done_ > 0) std::cerr << "\r\033[K" << std::flush;
    }

    const ResizeCommandLine& line_;
    const std::vector<BatchPicture>& pictures_;
    const BatchPicture* asked_ = nullptr;
    const BatchPicture* current_ = nullptr;
    std::vector<std::string> messages_;
    bool failed_ = false;
    std::size_t done_ = 0;
    bool showProgress_ = isatty(STDERR_FILENO) == 1;
};

int RunBatch(const ResizeCommandLine& line, const std::vector<BatchPicture>& pictures)
{
    // Like the desktop program, every output folder is made before the first picture; a
    // folder that cannot be made shows up as a failed save for each of its pictures. A
    // source that is not there gets none: it can only be reported.
    std::set<std::string> folders;
    for (const BatchPicture& picture : pictures)
        if (FileExists(picture.source)) folders.insert(picture.outputFolder);
    for (const std::string& folder : folders) ForceDirectories(folder);

    std::vector<std::string> names;
    for (std::size_t i = 0; i < pictures.size(); ++i) names.push_back(std::to_string(i));
    CommandHost host(line, pictures);
    const int jobs =
        line.jobs > 0 ? line.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const bool text = line.logFormat == LogFormat::Text;
    const std::uint32_t start = TickCount();
    try {
        const BatchSummary summary = RunBatchConcurrently(names, host, jobs);
        host.EndProgress();
        if (text) std::cout << JobDoneText(JobKind::Batch, summary.elapsedMilliseconds) << '\n';
        return summary.notSaved > 0 ? 1 : 0;
    } catch (const std::exception& error) {
        // What ends a batch in the window (memory running out) ends it here too, with the
        // message on one line.
        host.EndProgress();
        const bool memory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
        std::cerr << "selvane-resize: " << (memory ? "not enough memory to go on" : error.what())
                  << "; batch ended\n";
        if (text) std::cout << JobDoneText(JobKind::Batch, TickCount() - start) << '\n';
        return 1;
    }
}

int Run(const std::vector<std::string>& arguments)
{
    ResizeCommandLine line;
    try {
        line = ParseResizeCommandLine(arguments);
    } catch (const std::invalid_argument& error) {
        std::cerr << "selvane-resize: " << error.what() << "\nTry 'selvane-resize --help'.\n";
        return 2;
    }
    if (line.help) {
        std::cout << kResizeUsage;
        return 0;
    }
    if (line.version) {
        std::cout << "selvane-resize " << GetProgramVersion() << '\n';
        return 0;
    }

    if (!line.outputFolder.empty()) line.outputFolder = FullPath(line.outputFolder);
    if (!line.relativeTo.empty()) line.relativeTo = FullPath(line.relativeTo);
    const BatchPaths collected = CollectPictures(line, std::cerr);
    if (collected.pictures.empty()) {
        if (!collected.problems) ShowWarningMessage("No pictures to process");
        return 1;
    }
    const int status = RunBatch(line, collected.pictures);
    return collected.problems ? 1 : status;
}

}  // namespace
}  // namespace selvane

int main(int argc, char** argv)
{
    // The user's date and time formats for the log header; numbers never go through the
    // locale.
    std::setlocale(LC_ALL, "");
    return selvane::Run(std::vector<std::string>(argv + 1, argv + argc));
}
