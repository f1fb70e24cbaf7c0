// selvane-resize: the batch resizer without a window. It prints the job log to standard
// output exactly as the desktop program writes it; usage errors and error boxes go to
// standard error.
#include "app/ResizeCommandLine.h"
#include "engine/job/ConcurrentBatch.h"
#include "source/listing/PictureFolder.h"
#include "util/TessaroTPU.h"

#include <algorithm>
#include <clocale>
#include <iostream>
#include <set>
#include <thread>
#include <unistd.h>

namespace selvane {
namespace {

class CommandHost final : public BatchHost {
public:
    CommandHost(const ResizeCommandLine& line, std::size_t total) : line_(line), total_(total) {}

    void AppendLog(const std::string& text) override { std::cout << text << '\n' << std::flush; }
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
        if (showProgress_) std::cerr << "\rpicture " << ++done_ << " of " << total_ << std::flush;
    }
    void EndProgress()
    {
        if (showProgress_ && done_ > 0) std::cerr << '\n';
    }

    static std::string OutputFolderFor(const ResizeCommandLine& line, const std::string& sourcePath)
    {
        if (!line.outputFolder.empty()) return AddTrailingBackslash(line.outputFolder);
        const auto slash = sourcePath.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : sourcePath.substr(0, slash + 1);
        return folder + "Output/";
    }

private:
    const ResizeCommandLine& line_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool showProgress_ = isatty(STDERR_FILENO) == 1;
};

// Folders stand for their pictures; anything else is taken as a picture.
std::vector<std::string> ExpandPaths(const std::vector<std::string>& paths)
{
    std::vector<std::string> pictures;
    for (const std::string& path : paths) {
        if (!FolderExists(path)) {
            pictures.push_back(path);
            continue;
        }
        for (std::string& picture : ListPictureFiles(path)) pictures.push_back(std::move(picture));
    }
    return pictures;
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

    const std::vector<std::string> pictures = ExpandPaths(line.paths);
    // Like the desktop program, every output folder is made before the first picture; a
    // folder that cannot be made shows up as a failed save for each of its pictures.
    std::set<std::string> folders;
    for (const std::string& picture : pictures) folders.insert(CommandHost::OutputFolderFor(line, picture));
    for (const std::string& folder : folders) ForceDirectories(folder);

    CommandHost host(line, pictures.size());
    const int jobs =
        line.jobs > 0 ? line.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const BatchSummary summary = RunBatchConcurrently(pictures, host, jobs);
    host.EndProgress();
    std::cout << JobDoneText(JobKind::Batch, summary.elapsedMilliseconds) << '\n';
    return summary.notSaved > 0 ? 1 : 0;
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
