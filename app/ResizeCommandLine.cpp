#include "app/ResizeCommandLine.h"

#include <charconv>
#include <stdexcept>

namespace selvane {

const char* const kResizeUsage =
    "Usage: selvane-resize [OPTIONS] PATH...\n"
    "Resizes pictures (JPEG, PNG, GIF, BMP, WebP, TIFF, AVIF, HEIC, JPEG XL) into JPEG files,\n"
    "or PNG, WebP, AVIF or JPEG XL ones.\n"
    "Each PATH is a picture or a folder (its pictures; with --recursive, its subfolders' too).\n"
    "\n"
    "  --rule RULE       decrease (default), increase, same-size, same-width, same-height,\n"
    "                    fit, long-side, short-side, percent\n"
    "  --factor X        factor for decrease and increase, 1.1 to 10.9 (default 2.0)\n"
    "  --width N         output width for same-size, box width for fit (default 1920)\n"
    "  --height N        output height for same-size, box height for fit (default 1080)\n"
    "  --size N          width for same-width, height for same-height, the side for\n"
    "                    long-side and short-side (default 600)\n"
    "  --percent P       scale for percent, 1 to 1000 (default 50)\n"
    "  --no-enlarge      never make a picture larger than it is (not with increase)\n"
    "  --filter NAME     Box, Triangle, Hermite, Bell, Lanczos3, Mitchell, B-Spline (default)\n"
    "  --quality Q       quality of lossy outputs, 5 to 95 (default 74)\n"
    "  --format FMT      jpeg (default), png, webp, avif, jxl\n"
    "  --lossless        webp and jxl without loss\n"
    "  --optimize        smaller jpeg files, the same pixels\n"
    "  --progressive     progressive jpeg files\n"
    "  --max-size KB     keep each file under KB kilobytes, lowering the quality (lossy only)\n"
    "  --output DIR      output folder (default: the Output subfolder of each picture's folder)\n"
    "  --jobs N          pictures processed at once (default: one per core)\n"
    "  --recursive       take the pictures of folders' subfolders too, keeping the tree\n"
    "  --files-from FILE read more paths from FILE, one a line (- for standard input)\n"
    "  --null            the paths in FILE end in NUL characters, not line ends\n"
    "  --relative-to DIR keep the pictures' folders below DIR under --output\n"
    "  --log-format FMT  text (default), or jsonl: one JSON object per picture\n"
    "  --no-overwrite    keep existing output files\n"
    "  --add-filter-name append the filter's name to the output names\n"
    "  --no-protect      also process pictures above 10000 x 10000\n"
    "  --no-auto-orient  keep pictures as stored, not turned as their EXIF says\n"
    "  --to-srgb         convert colours to sRGB and leave out the colour profile\n"
    "  --strip-metadata  leave out the photo information (EXIF, XMP)\n"
    "  --strip-gps       leave the location (GPS) out of the photo information\n"
    "  --help            show this text\n"
    "  --version         show the version\n"
    "\n"
    "Exit status: 0 every picture saved, 1 some skipped or failed, 2 usage error.\n";

namespace {

int ParseInteger(const std::string& option, const std::string& text, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw std::invalid_argument(option + " takes a whole number from " + std::to_string(low) + " to " +
                                    std::to_string(high) + ", not '" + text + "'");
    return value;
}

// "2", "2.5" or "10.9": the whole part and the tenths, as the two factor fields hold them.
void ParseFactor(const std::string& text, SizeOptions& size)
{
    const auto dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    const std::string tenths = dot == std::string::npos ? "0" : text.substr(dot + 1);
    const auto digits = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (!digits(whole) || !digits(tenths) || tenths.size() != 1 || whole.size() > 2)
        throw std::invalid_argument(
            "--factor takes a number from 1.1 to 10.9 with at most one decimal, not '" + text + "'");
    size.round = std::stoi(whole);
    size.zecimal = tenths[0] - '0';
    const int inTenths = size.round * 10 + size.zecimal;
    if (inTenths < 11 || inTenths > 109)
        throw std::invalid_argument("--factor takes a number from 1.1 to 10.9, not '" + text + "'");
}

ResizeRule ParseRule(const std::string& text)
{
    if (text == "decrease") return ResizeRule::Decrease;
    if (text == "increase") return ResizeRule::Increase;
    if (text == "same-size") return ResizeRule::SameSize;
    if (text == "same-width") return ResizeRule::SameWidth;
    if (text == "same-height") return ResizeRule::SameHeight;
    if (text == "fit") return ResizeRule::FitBox;
    if (text == "long-side") return ResizeRule::LongSide;
    if (text == "short-side") return ResizeRule::ShortSide;
    if (text == "percent") return ResizeRule::Percent;
    throw std::invalid_argument("unknown --rule '" + text + "'");
}

OutputFormat ParseFormat(const std::string& text)
{
    if (text == "jpeg" || text == "jpg") return OutputFormat::Jpeg;
    if (text == "png") return OutputFormat::Png;
    if (text == "webp") return OutputFormat::Webp;
    if (text == "avif") return OutputFormat::Avif;
    if (text == "jxl") return OutputFormat::Jxl;
    throw std::invalid_argument("unknown --format '" + text + "' (jpeg, png, webp, avif or jxl)");
}

LogFormat ParseLogFormat(const std::string& text)
{
    if (text == "text") return LogFormat::Text;
    if (text == "jsonl") return LogFormat::Jsonl;
    throw std::invalid_argument("unknown --log-format '" + text + "' (text or jsonl)");
}

}  // namespace

ResizeCommandLine ParseResizeCommandLine(const std::vector<std::string>& arguments)
{
    ResizeCommandLine line;
    line.options.size.wh = 600;
    std::optional<int> width, height;
    bool factorGiven = false;
    bool sizeGiven = false;
    bool percentGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw std::invalid_argument(argument + " needs a value");
            return arguments[++i];
        };
        if (argument == "--help") line.help = true;
        else if (argument == "--version") line.version = true;
        else if (argument == "--rule") line.options.size.rule = ParseRule(value());
        else if (argument == "--factor") ParseFactor(value(), line.options.size), factorGiven = true;
        else if (argument == "--width") width = ParseInteger(argument, value(), 1, 1 << 28);
        else if (argument == "--height") height = ParseInteger(argument, value(), 1, 1 << 28);
        else if (argument == "--size")
            line.options.size.wh = ParseInteger(argument, value(), 1, 1 << 28), sizeGiven = true;
        else if (argument == "--percent")
            line.options.size.percent = ParseInteger(argument, value(), 1, 1000), percentGiven = true;
        else if (argument == "--no-enlarge") line.options.size.noEnlarge = true;
        else if (argument == "--quality") line.options.quality = ParseInteger(argument, value(), 5, 95);
        else if (argument == "--format") line.options.format = ParseFormat(value());
        else if (argument == "--lossless") line.options.lossless = true;
        else if (argument == "--optimize") line.options.optimize = true;
        else if (argument == "--progressive") line.options.progressive = true;
        else if (argument == "--max-size")
            line.options.maxSizeKB = ParseInteger(argument, value(), 1, 1 << 20);
        else if (argument == "--jobs") line.jobs = ParseInteger(argument, value(), 1, 256);
        else if (argument == "--output") line.outputFolder = value();
        else if (argument == "--recursive") line.recursive = true;
        else if (argument == "--files-from") line.filesFrom = value();
        else if (argument == "--null") line.nullSeparated = true;
        else if (argument == "--relative-to") line.relativeTo = value();
        else if (argument == "--log-format") line.logFormat = ParseLogFormat(value());
        else if (argument == "--no-overwrite") line.options.overwrite = false;
        else if (argument == "--add-filter-name") line.options.addFilterName = true;
        else if (argument == "--no-protect") line.options.protect = false;
        else if (argument == "--no-auto-orient") line.options.autoOrient = false;
        else if (argument == "--to-srgb") line.options.toSrgb = true;
        else if (argument == "--strip-metadata") line.options.keepMetadata = false;
        else if (argument == "--strip-gps") line.options.stripGps = true;
        else if (argument == "--filter") {
            const std::string& name = value();
            line.options.filterIndex = FindFilter(name);
            if (line.options.filterIndex < 0) throw std::invalid_argument("unknown --filter '" + name + "'");
        } else if (argument == "--") {
            line.paths.insert(line.paths.end(), arguments.begin() + static_cast<long>(i) + 1,
                              arguments.end());
            break;
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw std::invalid_argument("unknown option '" + argument + "'");
        } else {
            line.paths.push_back(argument);
        }
    }
    if (line.help || line.version) return line;

    const ResizeRule rule = line.options.size.rule;
    const bool byFactor = rule == ResizeRule::Decrease || rule == ResizeRule::Increase;
    if (factorGiven && !byFactor)
        throw std::invalid_argument("--factor goes with --rule decrease or increase");
    if (rule == ResizeRule::SameSize) {
        if (!width || !height) throw std::invalid_argument("--rule same-size needs --width and --height");
        line.options.size.width = *width;
        line.options.size.height = *height;
    } else if (rule == ResizeRule::FitBox) {
        line.options.size.fitWidth = width.value_or(line.options.size.fitWidth);
        line.options.size.fitHeight = height.value_or(line.options.size.fitHeight);
    } else if (width || height) {
        throw std::invalid_argument("--width and --height go with --rule same-size or fit");
    }
    const bool bySide = rule == ResizeRule::SameWidth || rule == ResizeRule::SameHeight ||
                        rule == ResizeRule::LongSide || rule == ResizeRule::ShortSide;
    if (sizeGiven && !bySide)
        throw std::invalid_argument(
            "--size goes with --rule same-width, same-height, long-side or short-side");
    if (percentGiven && rule != ResizeRule::Percent)
        throw std::invalid_argument("--percent goes with --rule percent");
    if (line.options.size.noEnlarge && rule == ResizeRule::Increase)
        throw std::invalid_argument("--no-enlarge cannot go with --rule increase");
    const OutputFormat format = line.options.format;
    if (line.options.lossless && format != OutputFormat::Webp && format != OutputFormat::Jxl)
        throw std::invalid_argument("--lossless goes with --format webp or jxl");
    if ((line.options.optimize || line.options.progressive) && format != OutputFormat::Jpeg)
        throw std::invalid_argument("--optimize and --progressive go with --format jpeg");
    if (line.options.maxSizeKB > 0 && (format == OutputFormat::Png || line.options.lossless))
        throw std::invalid_argument("--max-size goes with lossy outputs only");
    if (line.nullSeparated && line.filesFrom.empty())
        throw std::invalid_argument("--null goes with --files-from");
    if (!line.relativeTo.empty() && line.outputFolder.empty())
        throw std::invalid_argument("--relative-to needs --output, where the tree is kept");
    if (line.paths.empty() && line.filesFrom.empty()) throw std::invalid_argument("no PATH given");
    return line;
}

}  // namespace selvane
