// The events of the source-selection widgets: optional callbacks that receive the sender.
// An unset event is skipped. They are called on the user-interface thread, from inside the
// widget's own handling, so a handler may change the widget again.
#pragma once

#include <functional>

class QObject;

namespace selvane {

using TNotifyEvent = std::function<void(QObject* sender)>;

}  // namespace selvane
