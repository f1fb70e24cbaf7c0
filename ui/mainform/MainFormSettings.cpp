// LoadSettings and SaveSettings: the controls to and from the settings file, under the
// controls' own names.
#include "ui/mainform/MainForm.h"

#include "engine/resample/FilterTable.h"
#include "source/PathEdit.h"
#include "ui/mainform/SettingsFile.h"
#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"
#include "util/TessaroIniFile.h"
#include "util/TessaroTPU.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>

#include <utility>

namespace selvane {

namespace {

constexpr const char* kWindowState = "WindowState";
constexpr const char* kResize = "Resize";
constexpr const char* kUpdates = "Updates";
constexpr const char* kSettings = "Settings";

constexpr int kHiddenPageIndex = 1;

// Checking a radio button unchecks the others of its group; unchecking one touches only
// that one (which an exclusive group would refuse).
void SetRadio(QRadioButton* radio, bool checked)
{
    if (checked) {
        radio->setChecked(true);
        return;
    }
    radio->setAutoExclusive(false);
    radio->setChecked(false);
    radio->setAutoExclusive(true);
}

}  // namespace

void TMainForm::LoadSettings()
{
    const TTessaroIniFile ini(SettingsFilePath());

    // A page index outside the pages shows the hidden page, which no tab highlights.
    const int page = ini.ReadInteger(kWindowState, "Last_used_tab", kHiddenPageIndex);
    PageControl->setCurrentIndex(page >= 0 && page < PageControl->count() ? page : kHiddenPageIndex);
    if (ini.ValueExists(kWindowState, "Left")) {
        move(ini.ReadInteger(kWindowState, "Left", 50), ini.ReadInteger(kWindowState, "Top", 50));
        resize(ini.ReadInteger(kWindowState, "Width", 900), ini.ReadInteger(kWindowState, "Height", 850));
    }
    if (ini.ReadBool(kWindowState, "Maximized", false)) setWindowState(windowState() | Qt::WindowMaximized);

    const std::pair<QRadioButton*, bool> rules[] = {{radXDecrease, true},
                                                    {radXIncrease, false},
                                                    {radSameHeight, false},
                                                    {radSameWidth, false},
                                                    {radSameSize, false}};
    for (const auto& [radio, defaultValue] : rules)
        SetRadio(radio, ini.ReadBool(kResize, radio->objectName().toStdString(), defaultValue));
    // A file that marks no rule would leave the window unable to run a job.
    if (!radXDecrease->isChecked() && !radXIncrease->isChecked() && !radSameHeight->isChecked() &&
        !radSameWidth->isChecked() && !radSameSize->isChecked())
        radXDecrease->setChecked(true);

    LastCheck = ini.ReadDate(kUpdates, "LastCheck", 0);
    spnAutoUpdate->SetValue(ini.ReadInteger(kUpdates, "spnAutoUpdate", 4));

    trkQuality->setValue(ini.ReadInteger(kSettings, "trkQuality", 74));
    spnHideHint->SetValue(ini.ReadInteger(kSettings, "spnHideHint", 3100));
    spnOpacity->SetValue(ini.ReadInteger(kSettings, "spnOpacity", 255));
    spnWidth->SetValue(ini.ReadInteger(kSettings, "spnWidth", 200));
    // A filter index outside the table falls back to B-Spline, so a job always has a filter.
    const int filter = ini.ReadInteger(kSettings, "cmbResampleQ", kDefaultFilterIndex);
    cmbResampleQ->setCurrentIndex(filter >= 0 && filter < kFilterCount ? filter : kDefaultFilterIndex);
    spnWH->SetValue(ini.ReadInteger(kSettings, "spnWH", 600));
    spnRound->SetValue(ini.ReadInteger(kSettings, "spnRound", 2));
    spnZecimal->SetValue(ini.ReadInteger(kSettings, "spnZecimal", 0));
    const std::pair<QCheckBox*, bool> firstBoxes[] = {
        {chkTrayIcon, true}, {chkPreview, true}, {chkSkins, true}, {chkSounds, false}};
    for (const auto& [box, defaultValue] : firstBoxes)
        box->setChecked(ini.ReadBool(kSettings, box->objectName().toStdString(), defaultValue));
    const std::pair<QRadioButton*, bool> hintModes[] = {
        {radHintsOff, false}, {radHintsTooltips, true}, {radHintsStatBar, false}};
    for (const auto& [radio, defaultValue] : hintModes)
        SetRadio(radio, ini.ReadBool(kSettings, radio->objectName().toStdString(), defaultValue));
    const std::pair<QCheckBox*, bool> lastBoxes[] = {
        {chkAutoStartUp, false}, {chkProtect, true}, {chkOverwrite, true}};
    for (const auto& [box, defaultValue] : lastBoxes)
        box->setChecked(ini.ReadBool(kSettings, box->objectName().toStdString(), defaultValue));
    edtPath->setText(QString::fromStdString(ini.ReadString(kSettings, "LastPath", GetProgramFolder())));

    trkQualityChange();
}

void TMainForm::SaveSettings()
{
    TTessaroIniFile ini(SettingsFilePath());

    const bool maximized = isMaximized();
    // A maximized window keeps the bounds of an earlier save, so that restoring it at the
    // next start returns to them.
    if (!maximized) {
        ini.WriteInteger(kWindowState, "Left", x());
        ini.WriteInteger(kWindowState, "Top", y());
        ini.WriteInteger(kWindowState, "Width", width());
        ini.WriteInteger(kWindowState, "Height", height());
    }
    for (QRadioButton* radio : {radXDecrease, radXIncrease, radSameHeight, radSameWidth, radSameSize})
        ini.WriteBool(kResize, radio->objectName().toStdString(), radio->isChecked());
    ini.WriteBool(kWindowState, "Maximized", maximized);
    ini.WriteInteger(kWindowState, "Last_used_tab", PageControl->currentIndex());

    ini.WriteInteger(kUpdates, "spnAutoUpdate", spnAutoUpdate->Value());
    ini.WriteDate(kUpdates, "LastCheck", LastCheck);

    ini.WriteInteger(kSettings, "trkQuality", trkQuality->value());
    for (TSpinField* field : {spnHideHint, spnOpacity, spnWidth})
        ini.WriteInteger(kSettings, field->objectName().toStdString(), field->Value());
    ini.WriteInteger(kSettings, "cmbResampleQ", cmbResampleQ->currentIndex());
    for (TSpinField* field : {spnWH, spnRound, spnZecimal})
        ini.WriteInteger(kSettings, field->objectName().toStdString(), field->Value());
    for (QCheckBox* box : {chkPreview, chkTrayIcon, chkSkins, chkSounds})
        ini.WriteBool(kSettings, box->objectName().toStdString(), box->isChecked());
    for (QRadioButton* radio : {radHintsOff, radHintsTooltips, radHintsStatBar})
        ini.WriteBool(kSettings, radio->objectName().toStdString(), radio->isChecked());
    for (QCheckBox* box : {chkAutoStartUp, chkProtect, chkOverwrite})
        ini.WriteBool(kSettings, box->objectName().toStdString(), box->isChecked());
    ini.WriteString(kSettings, "LastPath", edtPath->text().toStdString());
}

}  // namespace selvane
