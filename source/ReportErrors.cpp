#include "source/ReportErrors.h"

#include "util/TessaroTPU.h"

#include <exception>

namespace selvane {

void RunReportingErrors(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
    }
}

}  // namespace selvane
