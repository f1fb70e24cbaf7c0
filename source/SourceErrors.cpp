#include "source/SourceErrors.h"

namespace selvane {

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")")
{}

EInvalidFileName::EInvalidFileName(const std::string& text)
    : std::runtime_error("Invalid file name - " + text)
{}

}  // namespace selvane
