#include "source/ShowingErrors.h"

#include "util/TessaroTPU.h"

#include <exception>

namespace selvane {

void RunShowingErrors(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
    }
}

}  // namespace selvane
