#include "update/ClientFileName.h"

namespace selvane {

std::optional<std::string> ClientFileBaseName(std::string_view name)
{
    const auto separator = name.find_last_of("/\\");
    if (separator != std::string_view::npos) name.remove_prefix(separator + 1);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    return std::string(name);
}

}  // namespace selvane
