// The completion step of the path edit, without the widget: a typed absolute path whose
// last part is the beginning of an entry's name is completed with the rest of that name.
//
// Candidates are the entries of the typed folder whose names begin with the typed part
// without regard to case ("." and ".." never), that carry at least one attribute admitted
// by the set, taken in NameLess order; the first one completes. The typed part keeps the
// case in which it was typed, the tail takes the case on disk. Lengths and positions count
// UTF-16 units, as the edit's do. Reads the folder; never throws; a folder that cannot be
// read gives no completion.
#pragma once

#include "platform/FileAttributes.h"
#include "source/listing/EnumSet.h"

#include <QString>

#include <optional>

namespace selvane {

enum class TAttributesFile { peaReadOnly, peaHidden, peaSysFile, peaDirectory, peaArchive };
using TAttributesFiles = EnumSet<TAttributesFile>;

inline constexpr TAttributesFiles kAllAttributesFiles{
    TAttributesFile::peaReadOnly, TAttributesFile::peaHidden, TAttributesFile::peaSysFile,
    TAttributesFile::peaDirectory, TAttributesFile::peaArchive};

// The entry carries at least one attribute of the set.
bool Admits(TAttributesFiles with, const platform::FileAttributes& attributes);

struct Completion {
    QString text;         // the new text of the edit
    int selectionStart;   // right after the typed characters
    int selectionLength;  // the completed tail, up to the end of the text
};

// typed: the text up to the caret. current: the edit's whole text, whose first
// typed.size() characters are kept. Nothing when typed is not absolute, ends in "/", or no
// entry qualifies.
std::optional<Completion> CompletePath(const QString& current, const QString& typed, TAttributesFiles with);

}  // namespace selvane
