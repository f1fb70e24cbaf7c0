#include "engine/job/ImageJob.h"

#include "engine/codec/JpegEncoder.h"
#include "engine/codec/PictureEncoder.h"
#include "engine/codec/PictureLoader.h"
#include "engine/codec/SizeLimitedEncode.h"
#include "engine/job/OverlappedDecode.h"
#include "engine/job/PhotoHandling.h"
#include "engine/resample/Resampler.h"
#include "util/TessaroTPU.h"

#include <chrono>
#include <new>
#include <optional>
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
    return path.append(".").append(FileExtension(options.format));
}

PlannedSize PlanOutputSize(int width, int height, const JobOptions& options)
{
    if (options.protect && width > kHugeSide && height > kHugeSide) return {SizeOutcome::Huge};
    const auto size = ComputeOutputSize(options.size, width, height);
    if (!size) return {SizeOutcome::InvalidFactor};
    const auto fits = [](std::int64_t w, std::int64_t h) {
        return w >= 1 && h >= 1 && w <= kMaxOutputPixels / h;
    };
    // A tall, narrow picture made wide would otherwise need a first-pass raster far larger
    // than the output itself; and a side JPEG cannot hold would only fail after resampling.
    if (!fits(size->width, size->height) || !fits(size->width, height) || size->width > kMaxJpegSide ||
        size->height > kMaxJpegSide)
        return {SizeOutcome::OutOfRange, size->width, size->height};
    return {SizeOutcome::Fits, size->width, size->height};
}

namespace {

struct Target {
    int width, height;
    std::string path;
    std::string sourcePath;
};

// The checks between loading and resampling, for a picture of width x height: the output's
// size and path when the job goes on to resample. Otherwise the job ends; with a host, what
// ended it has been logged or shown (and result says whether the batch goes on), without
// one nothing has, so that a caller can ask before the picture is decoded.
std::optional<Target> PlanOutput(int width, int height, const std::string& sourcePath,
                                 const std::string& outputFolder, const JobOptions& options, JobHost* host,
                                 JobResult& result)
{
    const PlannedSize size = PlanOutputSize(width, height, options);
    switch (size.outcome) {
    case SizeOutcome::Fits: break;
    case SizeOutcome::Huge:
        if (host) host->AppendLog("WARNING! Huge image: " + sourcePath);
        return std::nullopt;
    case SizeOutcome::InvalidFactor:
        if (host) {
            const double factor = GetResizeFactor(options.size.round, options.size.zecimal);
            host->ShowError("Invalid \"x\" factor! (" + FormatReal(factor, 2) + ")" +
                            "\r\nPlease choose a resize factor higher than 1.");
            host->FocusFactorField();
            result.ContinueBatch = false;
        }
        return std::nullopt;
    case SizeOutcome::OutOfRange:
        if (host)
            host->AppendLog("WARNING! Output size out of range (" + std::to_string(size.width) + " x " +
                            std::to_string(size.height) + "), picture skipped: " + sourcePath);
        return std::nullopt;
    }

    std::string outputPath = OutputPathFor(sourcePath, outputFolder, options);
    if (SameFile(outputPath, sourcePath)) {
        if (host)
            host->AppendLog("WARNING! Output would replace its own source (not written): " + outputPath);
        return std::nullopt;
    }
    if (!options.overwrite && FileExists(outputPath)) {
        if (host) host->AppendLog("WARNING! File already exists (not overwritten): " + outputPath);
        return std::nullopt;
    }
    return Target{static_cast<int>(size.width), static_cast<int>(size.height), std::move(outputPath),
                  sourcePath};
}

void WriteOutput(const Raster& output, const Target& target, PhotoState& photo, const JobOptions& options,
                 JobHost& host, JobResult& result)
{
    result.outputWidth = target.width;
    result.outputHeight = target.height;
    const bool warned = photo.unreadable;
    const PictureMetadata metadata = OutputMetadata(photo, output.Width(), output.Height(), options);
    if (photo.unreadable && !warned) host.AppendLog(UnreadablePhotoInfoWarning(target.sourcePath));
    const EncodeSettings settings{options.format, options.quality, options.lossless, options.optimize,
                                  options.progressive};
    try {
        if (options.maxSizeKB > 0 && !IsLossless(settings)) {
            const std::size_t limit = static_cast<std::size_t>(options.maxSizeKB) * 1024;
            const LimitedEncode written =
                WritePictureFileWithin(output, settings, limit, target.path, &metadata);
            if (!written.fits)
                host.AppendLog("WARNING! File not kept under " + std::to_string(options.maxSizeKB) +
                               " KB: saved at quality " + std::to_string(written.quality) + " as " +
                               std::to_string((written.bytes + 1023) / 1024) + " KB: " + target.path);
        } else {
            WritePictureFile(output, settings, target.path, &metadata);
        }
    } catch (const std::exception&) {
        host.ShowError("Cannot save file as: " + target.path);
        host.AppendLog("Cannot save file as: " + target.path);
        return;
    }
    result.SavedPath = target.path;
}

}  // namespace

namespace {

JobResult RunJob(const std::string& sourcePath, const std::string& outputFolder, const JobOptions& options,
                 JobHost& host)
{
    JobResult result;
    const FilterEntry& filter = ChosenFilter(options);
    const auto cannotOpen = [&] {
        host.AppendLog("ERROR! Cannot open picture: " + sourcePath);
        return result;
    };

    // A JPEG whose checks, known from its header, let the job resample it as stored is
    // resampled while it decodes; the preview and the log still come in the order of a job
    // that decoded first.
    Raster picture;
    PhotoState photo;
    std::optional<PictureFile> file;
    std::optional<Target> early;
    try {
        file.emplace(sourcePath);
        if (file->IsJpeg()) {
            const PictureDimensions dimensions = JpegDimensions(file->Bytes(), &photo.metadata);
            ChooseTurn(photo, options);
            if (!NeedsPreparing(photo, options))
                early = PlanOutput(dimensions.width, dimensions.height, sourcePath, outputFolder, options,
                                   nullptr, result);
            // A picture that keeps its own pixels is not resampled at all.
            if (early && KeepsOwnPixels(options.size, dimensions.width, dimensions.height,
                                        {early->width, early->height}))
                early.reset();
            if (early) picture = Raster(dimensions.width, dimensions.height);
            else picture = file->Decode();
        } else {
            picture = file->Decode(&photo.metadata);
            ChooseTurn(photo, options);
        }
    } catch (const DecodeError&) {
        return cannotOpen();
    } catch (const std::bad_alloc&) {
        return cannotOpen();
    }
    if (photo.unreadable) host.AppendLog(UnreadablePhotoInfoWarning(sourcePath));
    const auto loaded = [&] {
        result.sourceWidth = picture.Width();
        result.sourceHeight = picture.Height();
        host.PictureLoaded(picture, options.preview);
    };
    if (early) {
        Raster output(early->width, early->height);
        if (!DecodeJpegWhileResampling(file->Bytes(), picture, output, filter)) return cannotOpen();
        loaded();
        WriteOutput(output, *early, photo, options, host, result);
        return result;
    }
    PreparePicture(picture, photo, options);
    loaded();

    const auto target =
        PlanOutput(picture.Width(), picture.Height(), sourcePath, outputFolder, options, &host, result);
    if (!target) return result;
    if (KeepsOwnPixels(options.size, picture.Width(), picture.Height(), {target->width, target->height})) {
        WriteOutput(picture, *target, photo, options, host, result);
        return result;
    }
    Raster output(target->width, target->height);
    ResamplePicture(picture, output, filter.WeightFunc, filter.Support);
    WriteOutput(output, *target, photo, options, host, result);
    return result;
}

}  // namespace

JobResult ProcessImage(const std::string& sourcePath, const std::string& outputFolder,
                       const JobOptions& options, JobHost& host)
{
    const auto start = std::chrono::steady_clock::now();
    JobResult result = RunJob(sourcePath, outputFolder, options, host);
    result.milliseconds = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start)
            .count());
    return result;
}

}  // namespace selvane
