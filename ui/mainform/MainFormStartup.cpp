// Start-up after creation (InitMainWindow), the Exit command, closing, destruction and the
// end of the desktop session.
#include "ui/mainform/MainForm.h"

#include "source/TessaroFileList.h"
#include "ui/ErrorReport.h"
#include "ui/widgets/InternetLabel.h"
#include "ui/widgets/TrayIcon.h"
#include "ui/widgets/WidgetLook.h"
#include "util/TessaroTPU.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <functional>

namespace selvane {

namespace {

constexpr const char* kShortcutName = "Selvane Image Resizer";

}  // namespace

QString TMainForm::Greeting()
{
    return QStringLiteral("Please visit our web site from more downloads.\n") +
           QString::fromUtf8(kHomePageUrl.data(), static_cast<qsizetype>(kHomePageUrl.size()));
}

void TMainForm::InitMainWindow()
{
    // Each step is reported on its own and the start goes on, so that one failing step
    // (the desktop refusing the shortcut, say) cannot keep the window from opening.
    const std::function<void()> steps[] = {
        [&] { InternetLabel->SetLink(QString::fromStdString(programPageUrl_)); },
        [&] {
            SetHint(lblHintHide, "The hints will automatically disappear after this interval.\r\n"
                                 "If you don't have time to read the hints, please increase this value with "
                                 "few seconds.");
        },
        [&] { Memo->setPlainText(Greeting()); },
        [&] { LoadSettings(); },
        [&] { ApplySkinAtStart(); },
        [&] {
            if (!FirstRun) return;
            PageControl->setCurrentWidget(tabResizer);
            btnDesktopShortcutClick();
        },
        [&] { ResizeTypeChanged(); },
        [&] {
            WebUpdate.ProductInfo.SetURL(programPageUrl_);
            WebUpdate.ProductInfo.CurVersion = GetProgramVersion();
        },
        [&] { CheckUpdates(false); },
        [&] {
            if (FileList->ItemCount() == 0) return;
            FileList->SetItemSelected(0, true);
            FileList->SetCurrentFileName(FileList->ItemText(0));
        },
    };
    for (const auto& step : steps) RunReportingErrors(step);
}

void TMainForm::actExitExecute()
{
    TrayIcon->RestoreFromTray();
    close();
}

void TMainForm::EndSession()
{
    // Saved first, so that the settings survive even when the close has to wait for a
    // running batch and the session does not wait that long.
    RunReportingErrors([this] { SaveSettingsOnce(); });
    // As Exit does: a window in the tray comes back first, or closing it (hidden) would
    // end nothing, and the icon would stay.
    TrayIcon->RestoreFromTray();
    close();
}

void TMainForm::SaveSettingsOnce()
{
    if (SettingsSaved) return;
    SettingsSaved = true;
    SaveSettings();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (runningJobs_ > 0) {
        // The batch stops after its current picture and closes the window then; nothing
        // it still uses is destroyed under it.
        closeAfterJobs_ = true;
        return;
    }
    // The close query: closing is allowed; a save that fails keeps the window open once.
    RunReportingErrors([&] {
        SaveSettingsOnce();
        event->accept();
        FormClose();
    });
}

void TMainForm::FormClose()
{
    SaveSettingsOnce();
    closed_ = true;
    // A running update transfer stops at its next poll instead of holding the program.
    WebUpdate.AbortTransfer();
}

TMainForm::~TMainForm()
{
    // Destroying the widgets takes the focus out of the output folder's edit, whose
    // editingFinished would then call into a window that is half gone.
    edtOutFolder->disconnect(this);
    RunReportingErrors([this] { SaveSettingsOnce(); });
}

void TMainForm::btnDesktopShortcutClick()
{
    CreateShortcutToSelf(kShortcutName, true);
}

}  // namespace selvane
