#include "engine/job/ImageJob.h"

#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "engine/resample/Resampler.h"
#include "util/TessaroTPU.h"

#include <new>
#include <sys/stat.h>

namespace selvane {

namespace {

constexpr int kHugeSide = 10000;

const FilterEntry& ChosenFilter(const JobOptions& options)
{
    const bool valid = options.filterIndex >= 0 && options.filterIndex < kFilterCount;
    return FilterTable[static_cast<std::size_t>(valid ? options.filterIndex : kDefaultFilterIndex)];
}

bool SameFile(const std::string& a, const std::string& b)
{
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

}  // namespace

std::string OutputPathFor(const std::string& sourcePath, const std::string& outputFolder,
                          const JobOptions& options)
{
    std::string path = outputFolder + ExtractOnlyName(sourcePath);
    if (options.addFilterName) path.append(" ").append(ChosenFilter(options).Name);
    return path.append(".jpg");
}

JobResult ProcessImage(const std::string& sourcePath, const std::string& outputFolder,
                       const JobOptions& options, JobHost& host)
{
    JobResult result;

    Raster picture;
    try {
        picture = LoadPicture(sourcePath);
    } catch (const DecodeError&) {
        host.AppendLog("ERROR! Cannot open picture: " + sourcePath);
        return result;
    } catch (const std::bad_alloc&) {
        host.AppendLog("ERROR! Cannot open picture: " + sourcePath);
        return result;
    }
    host.PictureLoaded(picture, options.preview);

    if (options.protect && picture.Width() > kHugeSide && picture.Height() > kHugeSide) {
        host.AppendLog("WARNING! Huge image: " + sourcePath);
        return result;
    }

    const auto size = ComputeOutputSize(options.size, picture.Width(), picture.Height());
    if (!size) {
        const double factor = GetResizeFactor(options.size.round, options.size.zecimal);
        host.ShowError("Invalid \"x\" factor! (" + FormatReal(factor, 2) + ")" +
                       "\r\nPlease choose a resize factor higher than 1.");
        host.FocusFactorField();
        result.ContinueBatch = false;
        return result;
    }
    const auto fits = [](std::int64_t width, std::int64_t height) {
        return width >= 1 && height >= 1 && width <= kMaxOutputPixels / height;
    };
    // A tall, narrow picture made wide would otherwise need a first-pass raster far larger
    // than the output itself; and a side JPEG cannot hold would only fail after resampling.
    if (!fits(size->width, size->height) || !fits(size->width, picture.Height()) ||
        size->width > kMaxJpegSide || size->height > kMaxJpegSide) {
        host.AppendLog("WARNING! Output size out of range (" + std::to_string(size->width) + " x " +
                       std::to_string(size->height) + "), picture skipped: " + sourcePath);
        return result;
    }

    const std::string outputPath = OutputPathFor(sourcePath, outputFolder, options);
    if (SameFile(outputPath, sourcePath)) {
        host.AppendLog("WARNING! Output would replace its own source (not written): " + outputPath);
        return result;
    }
    if (!options.overwrite && FileExists(outputPath)) {
        host.AppendLog("WARNING! File already exists (not overwritten): " + outputPath);
        return result;
    }

    Raster output(static_cast<int>(size->width), static_cast<int>(size->height));
    const FilterEntry& filter = ChosenFilter(options);
    ResamplePicture(picture, output, filter.WeightFunc, filter.Support);

    try {
        WriteJpegFile(output, options.quality, outputPath);
    } catch (const std::exception&) {
        host.ShowError("Cannot save file as: " + outputPath);
        host.AppendLog("Cannot save file as: " + outputPath);
        return result;
    }
    result.SavedPath = outputPath;
    return result;
}

}  // namespace selvane
