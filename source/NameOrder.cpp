#include "source/NameOrder.h"

#include <QString>

namespace selvane {

namespace {

int CompareIgnoringCase(std::string_view a, std::string_view b)
{
    return QString::compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                            QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                            Qt::CaseInsensitive);
}

}  // namespace

bool NameLess(std::string_view a, std::string_view b)
{
    const int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return CompareIgnoringCase(a, b) == 0;
}

}  // namespace selvane
