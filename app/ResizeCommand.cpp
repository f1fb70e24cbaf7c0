// selvane-resize: the batch resizer without a window. It prints the job log to standard
// output exactly as the desktop program writes it; usage errors and error boxes go to
// standard error.
#include "app/ResizeCommandLine.h"
#include "engine/job/ConcurrentBatch.h"
#include "source/listing/PictureFolder.h"
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

class CommandHost final : public BatchHost {
public:
    CommandHost(const ResizeCommandLine& line, std::size_t total) : line_(line), total_(total) {}

    void AppendLog(const std::string& text) override
    {
        // On a terminal the count stands on the last line: take it away for the log line and
        // draw it again below it.
        ClearProgress();
        std::cout << text << '\n' << std::flush;
        DrawProgress();
    }
    void ShowError(const std::string& text) override { ShowErrorMessage(text); }
    void PictureLoaded(const Raster&, bool) override {}
    void FocusFactorField() override {}
    std::string SourcePath(const std::string& name) override { return name; }
    std::string OutputFolder(const std::string& sourcePath) override
    {
        return OutputFolderFor(line_, sourcePath);
    }
    JobOptions Options() override { return line_.options; }
    bool AbortRequested() override { return false; }
    void BeforeFile(const std::string&) override
    {
        ++done_;
        DrawProgress();
    }
    void EndProgress()
    {
        ClearProgress();
        done_ = 0;
    }

    static std::string OutputFolderFor(const ResizeCommandLine& line, const std::string& sourcePath)
    {
        if (!line.outputFolder.empty()) return AddTrailingBackslash(line.outputFolder);
        const auto slash = sourcePath.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : sourcePath.substr(0, slash + 1);
        return folder + "Output/";
    }

private:
    void DrawProgress() const
    {
        if (showProgress_ && done_ > 0) std::cerr << "\rpicture " << done_ << " of " << total_ << std::flush;
    }
    void ClearProgress() const
    {
        if (showProgress_ && done_ > 0) std::cerr << "\r\033[K" << std::flush;
    }

    const ResizeCommandLine& line_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool showProgress_ = isatty(STDERR_FILENO) == 1;
};

// The log names full paths, as the desktop program's does.
std::string FullPath(const std::string& path)
{
    return std::filesystem::absolute(path).lexically_normal().string();
}

struct Expanded {
    std::vector<std::string> pictures;
    bool unreadableFolder = false;
};

// Folders stand for their pictures; anything else is taken as a picture. A folder that
// cannot be read is reported with the system's reason.
Expanded ExpandPaths(const std::vector<std::string>& paths)
{
    Expanded expanded;
    for (const std::string& path : paths) {
        if (!FolderExists(path)) {
            expanded.pictures.push_back(FullPath(path));
            continue;
        }
        std::error_code error;
        std::filesystem::directory_iterator probe(path, error);
        if (error) {
            std::cerr << "selvane-resize: cannot read folder '" << path << "': " << error.message() << '\n';
            expanded.unreadableFolder = true;
            continue;
        }
        for (std::string& picture : ListPictureFiles(FullPath(path)))
            expanded.pictures.push_back(std::move(picture));
    }
    return expanded;
}

int RunBatch(const ResizeCommandLine& line, const std::vector<std::string>& pictures)
{
    // Like the desktop program, every output folder is made before the first picture; a
    // folder that cannot be made shows up as a failed save for each of its pictures. A
    // source that is not there gets none: it can only be reported.
    std::set<std::string> folders;
    for (const std::string& picture : pictures)
        if (FileExists(picture)) folders.insert(CommandHost::OutputFolderFor(line, picture));
    for (const std::string& folder : folders) ForceDirectories(folder);

    CommandHost host(line, pictures.size());
    const int jobs =
        line.jobs > 0 ? line.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const std::uint32_t start = TickCount();
    try {
        const BatchSummary summary = RunBatchConcurrently(pictures, host, jobs);
        host.EndProgress();
        std::cout << JobDoneText(JobKind::Batch, summary.elapsedMilliseconds) << '\n';
        return summary.notSaved > 0 ? 1 : 0;
    } catch (const std::exception& error) {
        // What ends a batch in the window (memory running out) ends it here too, with the
        // message on one line.
        host.EndProgress();
        const bool memory = dynamic_cast<const std::bad_alloc*>(&error) != nullptr;
        std::cerr << "selvane-resize: " << (memory ? "not enough memory to go on" : error.what())
                  << "; batch ended\n";
        std::cout << JobDoneText(JobKind::Batch, TickCount() - start) << '\n';
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
    const Expanded expanded = ExpandPaths(line.paths);
    if (expanded.pictures.empty()) {
        if (!expanded.unreadableFolder) ShowWarningMessage("No pictures to process");
        return 1;
    }
    const int status = RunBatch(line, expanded.pictures);
    return expanded.unreadableFolder ? 1 : status;
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
