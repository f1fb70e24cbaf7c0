#include "ui/mainform/SettingsFile.h"

#include "util/TessaroTPU.h"

namespace selvane {

std::string SettingsFilePath()
{
    return GetSettingsFolder(kSettingsProgramName) + kSettingsFileName;
}

}  // namespace selvane
