// libFuzzer target for the whole image job: the input is written as a picture file and
// ProcessImage decodes it, applies a size rule, resamples and writes the JPEG into a
// temporary output folder. The file type follows the input's signature (so that the
// corpus files keep their meaning); the options come from a hash of the input, so every
// mutation also tries another rule, factor, filter and quality.
//
// What must hold: every log line is one of the job's own; a save never fails (the folder
// is writable); a written JPEG decodes at the size the rule gives. Pictures whose
// resampling would outlast the time limit under the sanitizers are dropped once decoded
// (the decoder targets cover the decoding of any size).
#include "engine/codec/PictureLoader.h"
#include "engine/job/ImageJob.h"
#include "FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

namespace selvane::fuzz {
namespace {

constexpr std::int64_t kMaxFuzzedPixels = std::int64_t{1} << 22;

struct PictureTooLargeToResample {};

std::uint64_t Hash(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x100000001b3u;
    return hash;
}

bool StartsWith(const std::uint8_t* data, std::size_t size, std::string_view signature)
{
    return size >= signature.size() && std::memcmp(data, signature.data(), signature.size()) == 0;
}

const char* ExtensionFor(const std::uint8_t* data, std::size_t size, std::uint64_t hash)
{
    if (StartsWith(data, size, "BM")) return "bmp";
    if (StartsWith(data, size, "\xFF\xD8")) return "jpg";
    if (StartsWith(data, size, "\x89PNG")) return "png";
    if (StartsWith(data, size, "GIF8")) return "gif";
    if (StartsWith(data, size, "RIFF")) return "webp";
    if (StartsWith(data, size, "II*") || StartsWith(data, size, std::string_view("MM\0*", 4))) return "tif";
    if (StartsWith(data, size, "\xFF\x0A") || StartsWith(data, size, std::string_view("\0\0\0\x0CJXL ", 8)))
        return "jxl";
    if (size >= 12 && std::memcmp(data + 4, "ftyp", 4) == 0)
        return std::memcmp(data + 8, "avi", 3) == 0 ? "avif" : "heic";
    // "tga" has no decoder: the job's load error.
    static const char* const kOthers[] = {"bmp",  "jpeg", "png",  "gif", "webp",
                                          "tiff", "avif", "heif", "jxl", "tga"};
    return kOthers[hash % std::size(kOthers)];
}

JobOptions OptionsFor(std::uint64_t hash)
{
    const auto bits = [hash](int from, int count) {
        return static_cast<int>(hash >> from & ((std::uint64_t{1} << count) - 1));
    };
    JobOptions options;
    options.size.rule = static_cast<ResizeRule>(bits(0, 8) % 5);
    options.size.round = 1 + bits(8, 4) % 10;
    options.size.zecimal = -1 + bits(12, 4) % 12;
    options.size.width = 1 + bits(16, 9);
    options.size.height = 1 + bits(25, 9);
    options.size.wh = bits(34, 9);  // 0 included: a size the job must refuse
    options.quality = 5 + bits(43, 7) % 91;
    options.filterIndex = bits(50, 4) % 9 - 1;  // -1 and 7 stand for a damaged setting
    options.addFilterName = bits(54, 1) != 0;
    options.overwrite = bits(55, 1) != 0;
    options.preview = bits(56, 1) != 0;
    options.protect = bits(57, 1) != 0;
    options.autoOrient = bits(58, 1) != 0;
    options.toSrgb = bits(59, 1) != 0;
    options.keepMetadata = bits(60, 1) != 0;
    options.stripGps = bits(61, 1) != 0;
    return options;
}

class FuzzHost : public JobHost {
public:
    explicit FuzzHost(const JobOptions& options) : options_(options) {}

    void AppendLog(const std::string& line) override
    {
        // A writable folder must take every picture; other lines are the job's warnings.
        if (line.rfind("ERROR! Cannot open picture: ", 0) != 0 && line.rfind("WARNING! ", 0) != 0)
            Fail("unexpected log line: " + line);
    }
    void ShowError(const std::string& text) override
    {
        if (text.rfind("Invalid \"x\" factor! (", 0) != 0) Fail("unexpected error box: " + text);
    }
    void PictureLoaded(const Raster& picture, bool) override
    {
        const auto size = ComputeOutputSize(options_.size, picture.Width(), picture.Height());
        const std::int64_t pixels = std::int64_t{picture.Width()} * picture.Height();
        if (pixels > kMaxFuzzedPixels) throw PictureTooLargeToResample{};
        // The output, and the first pass (output width by picture height), stay small too.
        if (size && size->width > 0 && size->height > 0 &&
            (size->width > kMaxFuzzedPixels / size->height ||
             size->width > kMaxFuzzedPixels / picture.Height()))
            throw PictureTooLargeToResample{};
        expected_ = size;
    }
    void FocusFactorField() override {}

    const std::optional<OutputSize>& Expected() const { return expected_; }

    [[noreturn]] static void Fail(const std::string& what)
    {
        std::fprintf(stderr, "%s\n", what.c_str());
        std::abort();
    }

private:
    JobOptions options_;
    std::optional<OutputSize> expected_;
};

}  // namespace
}  // namespace selvane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace selvane;
    using namespace selvane::fuzz;
    static const FuzzFolder folder("selvane-fuzz-job");
    static const std::string output = [] {
        std::filesystem::create_directory(folder.Path() + "Output");
        return folder.Path() + "Output/";
    }();

    const std::uint64_t hash = Hash(data, size);
    const std::string source = folder.Path() + "picture." + ExtensionFor(data, size, hash);
    if (std::FILE* file = std::fopen(source.c_str(), "wb")) {
        const bool written = std::fwrite(data, 1, size, file) == size;
        if (std::fclose(file) != 0 || !written) FuzzHost::Fail("cannot write " + source);
    }

    const JobOptions options = OptionsFor(hash);
    FuzzHost host(options);
    try {
        const JobResult result = ProcessImage(source, output, options, host);
        if (!result.SavedPath.empty()) {
            const Raster written = LoadPicture(result.SavedPath);
            const auto& expected = host.Expected();
            if (!expected || written.Width() != expected->width || written.Height() != expected->height)
                FuzzHost::Fail("the JPEG written does not have the rule's size");
        }
    } catch (const PictureTooLargeToResample&) {
    } catch (const DecodeError& error) {
        FuzzHost::Fail(std::string("the JPEG written does not decode: ") + error.what());
    }
    std::filesystem::remove(source);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(output, ignored))
        std::filesystem::remove(entry.path(), ignored);
    return 0;
}
