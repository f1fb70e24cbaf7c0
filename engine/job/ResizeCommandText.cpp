#include "engine/job/ResizeCommandText.h"

#include "engine/resample/FilterTable.h"

namespace selvane {

namespace {

std::string RuleWords(const SizeOptions& size)
{
    const std::string wh = " --size " + std::to_string(size.wh);
    switch (size.rule) {
    case ResizeRule::Decrease:
    case ResizeRule::Increase: {
        // The two fields as they stand (the tenths may read -1 or 10 while typed).
        const int tenths = size.round * 10 + size.zecimal;
        const std::string factor = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
        return std::string(size.rule == ResizeRule::Decrease ? "--rule decrease" : "--rule increase") +
               " --factor " + factor;
    }
    case ResizeRule::SameSize:
        return "--rule same-size --width " + std::to_string(size.width) + " --height " +
               std::to_string(size.height);
    case ResizeRule::SameWidth: return "--rule same-width" + wh;
    case ResizeRule::SameHeight: return "--rule same-height" + wh;
    case ResizeRule::FitBox:
        return "--rule fit --width " + std::to_string(size.fitWidth) + " --height " +
               std::to_string(size.fitHeight);
    case ResizeRule::LongSide: return "--rule long-side" + wh;
    case ResizeRule::ShortSide: return "--rule short-side" + wh;
    case ResizeRule::Percent: return "--rule percent --percent " + std::to_string(size.percent);
    }
    return {};
}

const char* FormatWord(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Jpeg: return "jpeg";
    case OutputFormat::Png: return "png";
    case OutputFormat::Webp: return "webp";
    case OutputFormat::Avif: return "avif";
    case OutputFormat::Jxl: return "jxl";
    }
    return "jpeg";
}

}  // namespace

std::string ShellWord(const std::string& text)
{
    const bool plain =
        !text.empty() && text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789_-./=:,+@%") == std::string::npos;
    if (plain) return text;
    std::string word = "'";
    for (const char c : text) {
        if (c == '\'') word += "'\\''";
        else word += c;
    }
    return word + "'";
}

std::string ResizeCommandText(const JobOptions& options, const std::vector<std::string>& pictures,
                              const std::string& outputFolder, const std::string& treeFolder)
{
    const bool validFilter = options.filterIndex >= 0 && options.filterIndex < kFilterCount;
    const FilterEntry& filter =
        FilterTable[static_cast<std::size_t>(validFilter ? options.filterIndex : kDefaultFilterIndex)];
    std::string command = "selvane-resize " + RuleWords(options.size);
    if (options.size.noEnlarge && options.size.rule != ResizeRule::Increase) command += " --no-enlarge";
    command.append(" --filter ")
        .append(filter.Name)
        .append(" --quality ")
        .append(std::to_string(options.quality));
    if (options.format != OutputFormat::Jpeg) command.append(" --format ").append(FormatWord(options.format));
    if (options.lossless) command += " --lossless";
    if (options.optimize) command += " --optimize";
    if (options.progressive) command += " --progressive";
    if (options.maxSizeKB > 0) command.append(" --max-size ").append(std::to_string(options.maxSizeKB));
    if (!options.overwrite) command += " --no-overwrite";
    if (options.addFilterName) command += " --add-filter-name";
    if (!options.protect) command += " --no-protect";
    if (!options.autoOrient) command += " --no-auto-orient";
    if (options.toSrgb) command += " --to-srgb";
    if (!options.keepMetadata) command += " --strip-metadata";
    if (options.stripGps) command += " --strip-gps";
    if (!outputFolder.empty()) command.append(" --output ").append(ShellWord(outputFolder));
    if (!treeFolder.empty()) command.append(" --relative-to ").append(ShellWord(treeFolder));
    command += " --";
    for (const std::string& picture : pictures) command.append(" ").append(ShellWord(picture));
    return command;
}

}  // namespace selvane
