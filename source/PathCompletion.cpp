#include "source/PathCompletion.h"

#include "platform/PatternSearch.h"
#include "source/listing/NameOrder.h"

#include <algorithm>

namespace selvane {

bool Admits(TAttributesFiles with, const platform::FileAttributes& attributes)
{
    using enum TAttributesFile;
    return (attributes.readOnly && with.Contains(peaReadOnly)) ||
           (attributes.hidden && with.Contains(peaHidden)) ||
           (attributes.system && with.Contains(peaSysFile)) ||
           (attributes.directory && with.Contains(peaDirectory)) ||
           (attributes.archive && with.Contains(peaArchive));
}

std::optional<Completion> CompletePath(const QString& current, const QString& typed, TAttributesFiles with)
{
    if (!typed.startsWith(u'/') || typed.endsWith(u'/')) return std::nullopt;
    const qsizetype slash = typed.lastIndexOf(u'/');
    const qsizetype typedNameLength = typed.size() - slash - 1;

    std::optional<std::string> first;
    for (const platform::FoundEntry& entry : platform::FindEntries(typed.toStdString() + "*")) {
        if (entry.name == "." || entry.name == ".." || !Admits(with, entry.attributes)) continue;
        if (!first || NameLess(entry.name, *first)) first = entry.name;
    }
    if (!first) return std::nullopt;

    const QString name = QString::fromStdString(*first);
    Completion completion;
    completion.text = current.left(typed.size()) + name.mid(typedNameLength);
    completion.selectionStart = static_cast<int>(typed.size());
    completion.selectionLength =
        static_cast<int>(std::clamp<qsizetype>(name.size() - 1, 0, completion.text.size() - typed.size()));
    return completion;
}

}  // namespace selvane
