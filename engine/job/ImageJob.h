// The image job: one source picture in, one picture file out (a baseline JPEG unless the
// options name another format). It decodes the source,
// turns it upright and converts its colours as the options say (PhotoHandling.h), hands
// the picture to the host for the preview, applies the size rule, resamples with the
// chosen filter and writes the JPEG atomically (a failed write leaves no partial file and
// any earlier output untouched), with the source's colour profile and photo information.
// Every outcome but success leaves a line in the job log or an error box, through the host.
//
// A JPEG whose header already shows that the job will resample it as stored is resampled while it
// decodes, on a second thread (OverlappedDecode.h); the log and the file are those of a job
// that decoded first, and the preview gets the picture once the resampling is done too.
//
// Thread safety: jobs share nothing but the host, so they may run concurrently when the host
// is safe to call from those threads; the host is only called from the job's own thread.
// Errors from the resampler (exhausted memory) are not caught here: they end the batch.
#pragma once

#include "engine/codec/OutputFormat.h"
#include "engine/job/SizeRules.h"
#include "engine/Raster.h"
#include "engine/resample/FilterTable.h"

#include <cstdint>
#include <string>

namespace selvane {

// The values of the main window's controls that a job reads.
struct JobOptions {
    bool preview = true;                       // chkPreview: repaint the preview at once
    bool protect = true;                       // chkProtect: skip pictures above 10000 x 10000
    int quality = 74;                          // trkQuality, 5 .. 95
    SizeOptions size;                          // the size rule and its fields
    bool addFilterName = false;                // chkAddFltName
    int filterIndex = kDefaultFilterIndex;     // cmbResampleQ; outside 0 .. 6 means B-Spline
    bool overwrite = true;                     // chkOverwrite
    bool autoOrient = true;                    // chkAutoOrient: turn the picture as its EXIF says
    bool toSrgb = false;                       // chkToSrgb: convert colours to sRGB, drop the profile
    bool keepMetadata = true;                  // chkKeepMetadata: carry EXIF and XMP to the output
    bool stripGps = false;                     // chkStripGps: leave the location out of them
    OutputFormat format = OutputFormat::Jpeg;  // cmbOutFormat
    bool lossless = false;                     // chkLossless: WebP and JPEG XL without loss
    bool optimize = false;                     // chkOptimize: smaller JPEG files, same pixels
    bool progressive = false;                  // chkProgressive
    int maxSizeKB = 0;                         // chkMaxSize, spnMaxSize: files kept under it; 0: no limit
};

struct JobResult {
    std::string SavedPath;      // the file written; empty when nothing was written
    bool ContinueBatch = true;  // false only after a refused factor
    // What a record of the batch reports: the picture's size as seen (0 when it did not
    // open), the output's (0 when none was planned) and the job's time.
    int sourceWidth = 0, sourceHeight = 0;
    int outputWidth = 0, outputHeight = 0;
    std::uint32_t milliseconds = 0;
};

class JobHost {
public:
    virtual ~JobHost() = default;
    virtual void AppendLog(const std::string& line) = 0;
    // An error the user must acknowledge (a modal box in the desktop program).
    virtual void ShowError(const std::string& text) = 0;
    // The decoded picture, for the preview; repaintNow mirrors JobOptions::preview.
    virtual void PictureLoaded(const Raster& picture, bool repaintNow) = 0;
    // After a refused factor: the factor field should get the input focus.
    virtual void FocusFactorField() = 0;
};

// The largest raster the job makes, in pixels: the output, and the resampler's first pass
// (the output's width by the picture's height). Larger sizes are refused with a warning,
// as are outputs wider or taller than a JPEG file can be (kMaxJpegSide), whatever the format.
inline constexpr std::int64_t kMaxOutputPixels = std::int64_t{1} << 28;

enum class SizeOutcome {
    Fits,           // the job writes an output of the size planned
    Huge,           // chkProtect skips the picture
    InvalidFactor,  // the rule needs a factor above 1
    OutOfRange,     // the size planned is too large, or has a side below 1
};

struct PlannedSize {
    SizeOutcome outcome;
    std::int64_t width = 0, height = 0;  // the rule's size; 0 for Huge and InvalidFactor
};

// The output size the job plans for a width x height picture as seen, before it looks at
// the output's path.
PlannedSize PlanOutputSize(int width, int height, const JobOptions& options);

// outputFolder ends in "/" and exists.
JobResult ProcessImage(const std::string& sourcePath, const std::string& outputFolder,
                       const JobOptions& options, JobHost& host);

// The path ProcessImage writes to for a source (output folder + name + [" " filter] + "."
// + the format's extension).
std::string OutputPathFor(const std::string& sourcePath, const std::string& outputFolder,
                          const JobOptions& options);

}  // namespace selvane
