// selvane-resizer: the desktop program. Its arguments (after Qt's own, such as -platform)
// are paths to open: a folder, or pictures to select in their folder.
#include "ui/ErrorReport.h"
#include "ui/mainform/MainForm.h"
#include "ui/mainform/StartPaths.h"
#include "ui/QtMessageBoxes.h"
#include "ui/ResizerApplication.h"
#include "ui/SessionEnd.h"

#include <string>
#include <vector>

int main(int argc, char** argv)
{
    selvane::TResizerApplication application(argc, argv);
    selvane::InstallQtMessageBoxes();
    // Read before the file list moves the current folder, against which relative paths
    // are meant; argv keeps the bytes exactly as the file system spells the names.
    const selvane::StartPaths startPaths =
        selvane::ReadStartPaths(std::vector<std::string>(argv + 1, argv + argc));

    selvane::TMainForm form;
    selvane::TSessionEndWatcher sessionEnd;
    QObject::connect(&sessionEnd, &selvane::TSessionEndWatcher::EndRequested, &form,
                     selvane::Reporting(&form, &selvane::TMainForm::EndSession));

    selvane::RunReportingErrors([&] { form.InitMainWindow(); });
    // The session may have ended while the start-up update check let messages through.
    if (form.IsClosed()) return 0;
    selvane::RunReportingErrors([&] { form.OpenStartPaths(startPaths); });
    form.show();
    return application.exec();
}
