#include "app/JsonRecord.h"

#include <cstdio>

namespace selvane {

namespace {

// The length of the UTF-8 sequence at text[at], or 0 when none starts there.
std::size_t SequenceLength(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned minimum = 0, code = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xc2 && lead < 0xe0) length = 2, minimum = 0x80, code = lead & 0x1fu;
    else if (lead >= 0xe0 && lead < 0xf0) length = 3, minimum = 0x800, code = lead & 0x0fu;
    else if (lead >= 0xf0 && lead < 0xf5) length = 4, minimum = 0x10000, code = lead & 0x07u;
    else return 0;
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) return 0;
        code = code << 6 | (byte(at + i) & 0x3fu);
    }
    const bool surrogate = code >= 0xd800 && code <= 0xdfff;
    return code < minimum || code > 0x10ffff || surrogate ? 0 : length;
}

}  // namespace

std::string JsonString(std::string_view text)
{
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const std::size_t length = SequenceLength(text, at);
        if (length == 0) {
            json += "\uFFFD";
            ++at;
            continue;
        }
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json.append(text.substr(at, length));
        }
        at += length;
    }
    return json + "\"";
}

std::string PictureRecord(const std::string& source, const JobResult& result, std::uint64_t bytes,
                          const std::vector<std::string>& messages, bool failed)
{
    const bool saved = !result.SavedPath.empty();
    std::string record = "{\"source\":" + JsonString(source);
    record += ",\"status\":\"";
    record += saved ? "saved" : failed ? "failed" : "skipped";
    record += '"';
    record += ",\"output\":";
    record += saved ? JsonString(result.SavedPath) : "null";
    record += ",\"width\":" + std::to_string(result.sourceWidth);
    record += ",\"height\":" + std::to_string(result.sourceHeight);
    record += ",\"output_width\":" + std::to_string(result.outputWidth);
    record += ",\"output_height\":" + std::to_string(result.outputHeight);
    record += ",\"bytes\":" + std::to_string(bytes);
    record += ",\"milliseconds\":" + std::to_string(result.milliseconds);
    record += ",\"messages\":[";
    for (std::size_t i = 0; i < messages.size(); ++i) {
        if (i > 0) record += ',';
        record += JsonString(messages[i]);
    }
    return record + "]}";
}

}  // namespace selvane
