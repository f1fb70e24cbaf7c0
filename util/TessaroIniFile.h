// The settings file: an INI file of [Section] lines and Key=Value lines.
//
// Nothing is cached: every read reads the file afresh and every write rewrites it at once,
// atomically (a temporary file beside it, renamed over it), so a crash never leaves a
// truncated file. A settings file that is a symbolic link is written through the link and
// the file keeps its permission bits. Section and key names match without regard to case;
// the first matching section and key count. A new key goes to the end of its section, a
// new section to the end of the file; every other line stays byte for byte as it was, and
// damaged contents (NUL bytes, missing line ends, invalid UTF-8, a cut-off section header)
// are carried along unchanged.
//
// Reads never fail: a missing or unreadable file, section or key gives the default.
// Writes throw EIniFileException "Unable to write to <file name>" when the file cannot be
// read or written (including a file the user may not write). A file larger than
// kMaxIniFileBytes counts as unreadable, so that no file (nor a link to an endless device)
// can make a read take unbounded time or memory. Numbers are written and read
// independently of the process locale; dates use the locale's short date format
// (util/ShortDate.h). Objects are independent; share none between threads.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace selvane {

// Far above any settings file the program writes (about a kilobyte), and room for a
// damaged one that carries a line of a megabyte.
inline constexpr std::size_t kMaxIniFileBytes = std::size_t{4} << 20;

class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TTessaroIniFile {
public:
    explicit TTessaroIniFile(std::string fileName);

    // The value trimmed of surrounding blanks, at most 2047 bytes (never splitting a UTF-8
    // character) and cut at a NUL byte; an empty value is "", a missing key the default.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // Decimal with an optional sign, or "0x"/"0X" and up to eight hexadecimal digits (which
    // may wrap to a negative number); anything else, or a number out of range, gives the
    // default.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // Read as an integer (default: 1 or 0); any non-zero integer is true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Days since 1899-12-30 of the stored date, at 00:00; the default for an empty value or
    // one that is not a date in the short date format.
    double ReadDate(const std::string& section, const std::string& key, double defaultValue) const;
    // The key is among the section's key names (compared without regard to case).
    bool ValueExists(const std::string& section, const std::string& key) const;

    // Writes the value unchanged, except that a line break becomes a space and a NUL byte
    // ends it, so a value can never add lines of its own. A section name with "]" or a line
    // break, or a key name that is empty, holds "=" or a line break, or starts with "[",
    // ";" or "#", throws EIniFileException as a refused write.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // The calendar date of value in the short date format; throws std::out_of_range for a
    // value outside the years 1 to 9999.
    void WriteDate(const std::string& section, const std::string& key, double value);

private:
    std::string fileName_;
    // Leftovers of dead saves are looked for once per object, not on every key written.
    bool staleSavesRemoved_ = false;
};

}  // namespace selvane
