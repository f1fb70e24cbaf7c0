#include "ui/ResizerApplication.h"

#include "ui/Artwork.h"
#include "ui/ErrorReport.h"

namespace selvane {

TResizerApplication::TResizerApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Only the name: a display name would be appended to every window's title.
    setApplicationName(QString::fromLatin1(kApplicationTitle));
    setWindowIcon(MakeApplicationIcon());
    // Ties the windows to the installed menu entry, so that docks and task bars show its
    // name and icon (the Wayland app id, the X11 startup notification).
    setDesktopFileName(QStringLiteral(SELVANE_APP_ID));
}

bool TResizerApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunReportingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace selvane
