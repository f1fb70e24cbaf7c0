// Runs a handler of a widget's own input handling and shows a std::exception it throws
// in an error box (ShowErrorMessage), since an exception must not cross Qt's event loop.
// The box is the only report; the widget stays as the failed step left it.
#pragma once

#include <functional>

namespace selvane {

void RunShowingErrors(const std::function<void()>& handler);

}  // namespace selvane
