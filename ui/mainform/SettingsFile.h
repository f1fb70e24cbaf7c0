// Where the main window keeps its settings: "SelvaneResizer.INI" in the settings folder of
// "Selvane Image Resizer" (the program folder for an administrator who may write there,
// otherwise the user's configuration folder). The folder is worked out afresh, and created
// when missing, on every call. Never throws.
#pragma once

#include <string>

namespace selvane {

inline constexpr const char* kSettingsProgramName = "Selvane Image Resizer";
inline constexpr const char* kSettingsFileName = "SelvaneResizer.INI";

std::string SettingsFilePath();

}  // namespace selvane
