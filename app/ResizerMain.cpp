// selvane-resizer: the desktop program. It takes no command-line arguments (Qt's own, such
// as -platform, still apply).
#include "ui/ErrorReport.h"
#include "ui/mainform/MainForm.h"
#include "ui/QtMessageBoxes.h"
#include "ui/ResizerApplication.h"
#include "ui/SessionEnd.h"

int main(int argc, char** argv)
{
    selvane::TResizerApplication application(argc, argv);
    selvane::InstallQtMessageBoxes();

    selvane::TMainForm form;
    selvane::TSessionEndWatcher sessionEnd;
    QObject::connect(&sessionEnd, &selvane::TSessionEndWatcher::EndRequested, &form,
                     selvane::Reporting(&form, &selvane::TMainForm::EndSession));

    selvane::RunReportingErrors([&] { form.InitMainWindow(); });
    // The session may have ended while the start-up update check let messages through.
    if (form.IsClosed()) return 0;
    form.show();
    return application.exec();
}
