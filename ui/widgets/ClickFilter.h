// Gives a widget that has no click signal of its own (a plain label) a click: a left-button
// release inside the widget after a press on it runs the handler. The filter is a child of
// the widget and goes with it. User-interface thread only.
#pragma once

#include <functional>

class QWidget;

namespace selvane {

void OnWidgetClick(QWidget* widget, std::function<void()> handler);

}  // namespace selvane
