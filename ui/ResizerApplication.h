// The desktop program's application object: titled "Selvane Image Resizer", with the
// program's icon, and the last line of the top-level error handler: an exception that an
// event handler lets through is reported (ui/ErrorReport.h) instead of unwinding into the
// event loop, and the program goes on. One per process, as QApplication requires.
#pragma once

#include <QApplication>

namespace selvane {

inline constexpr const char* kApplicationTitle = "Selvane Image Resizer";

class TResizerApplication : public QApplication {
    Q_OBJECT

public:
    TResizerApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace selvane
