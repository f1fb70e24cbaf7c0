// LoadSettings and SaveSettings: the controls to and from the settings file, under the
// controls' own names.
#include "ui/mainform/MainForm.h"

#include "engine/resample/FilterTable.h"
#include "platform/SpecialFolders.h"
#include "source/PathEdit.h"
#include "source/TessaroFileList.h"
#include "ui/mainform/SettingsFile.h"
#include "ui/widgets/SelectionSlider.h"
#include "ui/widgets/SpinField.h"
#include "util/TessaroIniFile.h"
#include "util/TessaroTPU.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include <QSlider>

#include <algorithm>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace selvane {

namespace {

constexpr const char* kWindowState = "WindowState";
constexpr const char* kResize = "Resize";
constexpr const char* kUpdates = "Updates";
constexpr const char* kSettings = "Settings";

constexpr int kHiddenPageIndex = 1;

// A value of the file and where it lives in the window: a control, stored under the
// control's own name, or a date (days, as the file stores them) under its own key.
// Booleans default to 0 or 1, texts to the empty text.
using Control =
    std::variant<QCheckBox*, QRadioButton*, TSpinField*, QSlider*, QComboBox*, QLineEdit*, double*>;
struct StoredControl {
    const char* section;
    Control control;
    int defaultValue = 0;
    const char* key = nullptr;  // a date's key
};

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

std::string KeyOf(const StoredControl& stored)
{
    if (stored.key) return stored.key;
    return std::visit(
        [](const auto* control) {
            if constexpr (std::is_base_of_v<QWidget, std::remove_pointer_t<decltype(control)>>)
                return control->objectName().toStdString();
            else return std::string();
        },
        stored.control);
}

void Load(const TTessaroIniFile& ini, const StoredControl& stored)
{
    const std::string key = KeyOf(stored);
    const int fallback = stored.defaultValue;
    const auto readBool = [&] { return ini.ReadBool(stored.section, key, fallback != 0); };
    const auto readInteger = [&] { return ini.ReadInteger(stored.section, key, fallback); };
    std::visit(
        [&](auto* control) {
            using Type = std::remove_pointer_t<decltype(control)>;
            if constexpr (std::is_same_v<Type, QCheckBox>) {
                control->setChecked(readBool());
            } else if constexpr (std::is_same_v<Type, QRadioButton>) {
                SetRadio(control, readBool());
            } else if constexpr (std::is_same_v<Type, TSpinField>) {
                control->SetValue(readInteger());
            } else if constexpr (std::is_same_v<Type, QSlider>) {
                control->setValue(readInteger());
            } else if constexpr (std::is_same_v<Type, double>) {
                *control = ini.ReadDate(stored.section, key, fallback);
            } else if constexpr (std::is_same_v<Type, QLineEdit>) {
                control->setText(QString::fromStdString(ini.ReadString(stored.section, key, "")));
            } else {
                // An index outside the list falls back to the default, so that a choice
                // always stands (a job always has a filter).
                const int index = readInteger();
                control->setCurrentIndex(index >= 0 && index < control->count() ? index : fallback);
            }
        },
        stored.control);
}

void Save(TTessaroIniFile& ini, const StoredControl& stored)
{
    const std::string key = KeyOf(stored);
    std::visit(
        [&](auto* control) {
            using Type = std::remove_pointer_t<decltype(control)>;
            if constexpr (std::is_same_v<Type, QCheckBox> || std::is_same_v<Type, QRadioButton>)
                ini.WriteBool(stored.section, key, control->isChecked());
            else if constexpr (std::is_same_v<Type, TSpinField>)
                ini.WriteInteger(stored.section, key, control->Value());
            else if constexpr (std::is_same_v<Type, QSlider>)
                ini.WriteInteger(stored.section, key, control->value());
            else if constexpr (std::is_same_v<Type, double>) ini.WriteDate(stored.section, key, *control);
            else if constexpr (std::is_same_v<Type, QLineEdit>)
                ini.WriteString(stored.section, key, control->text().toStdString());
            else ini.WriteInteger(stored.section, key, control->currentIndex());
        },
        stored.control);
}

// The values in the order the file holds them. The window's place and the folder have
// rules of their own and are read and written beside the table.
std::vector<StoredControl> StoredControls(TMainForm& form)
{
    return {
        {kResize, form.radXDecrease, 1},
        {kResize, form.radXIncrease, 0},
        {kResize, form.radSameHeight, 0},
        {kResize, form.radSameWidth, 0},
        {kResize, form.radSameSize, 0},
        {kResize, form.radFitBox, 0},
        {kResize, form.radLongSide, 0},
        {kResize, form.radShortSide, 0},
        {kResize, form.radPercent, 0},
        {kResize, form.spnFitWidth, 1920},
        {kResize, form.spnFitHeight, 1080},
        {kResize, form.spnPercent, 50},
        {kResize, form.chkNoEnlarge, 0},
        {kUpdates, form.spnAutoUpdate, 4},
        {kUpdates, &form.LastCheck, 0, "LastCheck"},
        {kSettings, form.trkQuality, 74},
        {kSettings, form.spnHideHint, 3100},
        {kSettings, form.spnOpacity, 255},
        {kSettings, form.spnWidth, 200},
        {kSettings, form.cmbResampleQ, kDefaultFilterIndex},
        {kSettings, form.spnWH, 600},
        {kSettings, form.spnRound, 2},
        {kSettings, form.spnZecimal, 0},
        {kSettings, form.chkPreview, 1},
        {kSettings, form.chkTrayIcon, 1},
        {kSettings, form.chkSkins, 1},
        {kSettings, form.chkSounds, 0},
        {kSettings, form.chkAllCores, 1},
        {kSettings, form.radHintsOff, 0},
        {kSettings, form.radHintsTooltips, 1},
        {kSettings, form.radHintsStatBar, 0},
        {kSettings, form.chkAutoStartUp, 0},
        {kSettings, form.chkProtect, 1},
        {kSettings, form.chkOverwrite, 1},
        {kSettings, form.chkAutoOrient, 1},
        {kSettings, form.chkToSrgb, 0},
        {kSettings, form.chkKeepMetadata, 1},
        {kSettings, form.chkStripGps, 0},
        {kSettings, form.cmbOutFormat, 0},
        {kSettings, form.chkLossless, 0},
        {kSettings, form.chkOptimize, 0},
        {kSettings, form.chkProgressive, 0},
        {kSettings, form.chkMaxSize, 0},
        {kSettings, form.spnMaxSize, 500},
        {kSettings, form.edtOutFolder},
        {kSettings, form.chkSubfolders, 0},
    };
}

// Where a first start opens: the user's pictures, or the home folder when there are none.
std::string FirstStartFolder()
{
    const std::string pictures = platform::PicturesFolder();
    return AddTrailingBackslash(FolderExists(pictures) ? pictures : platform::HomeFolder());
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

    for (const StoredControl& stored : StoredControls(*this)) Load(ini, stored);
    // A file that marks no rule would leave the window unable to run a job.
    const auto rules = RuleButtons();
    if (std::none_of(rules.begin(), rules.end(),
                     [](const auto& button) { return button.first->isChecked(); }))
        radXDecrease->setChecked(true);
    std::string folder = ini.ReadString(kSettings, "LastPath", "");
    if (folder.empty() || folder.front() != '/') folder = FirstStartFolder();
    edtPath->setText(QString::fromStdString(folder));
    // Only now: a tree listed before the folder is set would be the one of wherever the
    // program was started.
    FileList->SetSubfolders(chkSubfolders->isChecked());

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
    ini.WriteBool(kWindowState, "Maximized", maximized);
    ini.WriteInteger(kWindowState, "Last_used_tab", PageControl->currentIndex());

    for (const StoredControl& stored : StoredControls(*this)) Save(ini, stored);
    ini.WriteString(kSettings, "LastPath", edtPath->text().toStdString());
}

}  // namespace selvane
