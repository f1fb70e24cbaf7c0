// The options of the Settings page: hints, hint time, opacity, skin, start at log-on,
// desktop shortcut and the tray icon. "Use sounds" has no handler: it is only stored.
#include "ui/mainform/MainForm.h"

#include "ui/ErrorReport.h"
#include "ui/widgets/HintWatcher.h"
#include "ui/widgets/SpinField.h"
#include "ui/widgets/TrayIcon.h"
#include "util/TessaroTPU.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

namespace selvane {

namespace {

constexpr int kOpaque = 255;

}  // namespace

void TMainForm::ConnectOptions()
{
    Hints = new THintWatcher(this);
    connect(Hints, &THintWatcher::HintChanged, this, Reporting(this, &TMainForm::CanShowHint));
    connect(spnHideHint, &TSpinField::Change, this, Reporting(this, &TMainForm::spnHideHintChange));
    connect(spnOpacity, &TSpinField::Change, this, Reporting(this, &TMainForm::spnOpacityChange));
    connect(chkSkins, &QCheckBox::toggled, this, Reporting(this, &TMainForm::chkSkinsClick));
    connect(chkAutoStartUp, &QCheckBox::toggled, this, Reporting(this, &TMainForm::chkAutoStartUpClick));
    connect(btnDesktopShortcut, &QPushButton::clicked, this,
            Reporting(this, &TMainForm::btnDesktopShortcutClick));
    connect(chkTrayIcon, &QCheckBox::toggled, this, Reporting(this, &TMainForm::chkTrayIconClick));

    TrayIcon = new TTrayIcon(this);
    TrayIcon->SetIcon(QApplication::windowIcon());
    TrayIcon->SetPopupMenu(PopupMenu);
    TrayIcon->OnClick = [this] { RunReportingErrors([this] { TrayIconClick(); }); };

    // The design values take effect too, so that a loaded value equal to one of them (which
    // changes nothing in its control) still holds.
    spnHideHintChange();
    spnOpacityChange();
    chkTrayIconClick();
}

void TMainForm::CanShowHint()
{
    Hints->SetShowHints(!radHintsOff->isChecked());
    if (radHintsStatBar->isChecked()) SetStatusText(GetLongHint(Hints->CurrentHint()));
}

void TMainForm::spnHideHintChange()
{
    Hints->SetHidePause(spnHideHint->Value());
}

void TMainForm::spnOpacityChange()
{
    const int value = spnOpacity->Value();
    // Below 255 the window is blended with the value's low byte as its alpha.
    setWindowOpacity(value < kOpaque ? (value & 0xFF) / double(kOpaque) : 1.0);
}

void TMainForm::chkSkinsClick()
{
    // Checking waits for the next start; unchecking takes the skin away at once.
    if (!chkSkins->isChecked() && SkinManager) {
        SkinManager->SetActive(false);
        // Taking the style sheet away gives every control the application's font again;
        // the window's own design font must reach them anew.
        const QFont design = font();
        setFont(QFont());
        setFont(design);
    }
}

void TMainForm::ApplySkinAtStart()
{
    if (chkSkins->isChecked()) SkinManager->SetActive(true);
    else SkinManager.reset();
}

void TMainForm::chkAutoStartUpClick()
{
    SetSelfStartWithWindows(chkAutoStartUp->isChecked());
}

void TMainForm::chkTrayIconClick()
{
    TrayIcon->SetMinimizeToTray(chkTrayIcon->isChecked());
}

void TMainForm::TrayIconClick()
{
    TrayIcon->RestoreFromTray();
}

}  // namespace selvane
