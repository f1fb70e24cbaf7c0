#include "ui/ErrorReport.h"

#include "ui/mainform/SettingsFile.h"
#include "util/TessaroTPU.h"

#include <ctime>
#include <fstream>

namespace selvane {

std::string ErrorReportPath()
{
    return GetSettingsFolder(kSettingsProgramName) + kErrorReportFileName;
}

void ReportUnhandledError(const std::string& message)
{
    const std::string text = message.empty() ? std::string("Unknown error") : message;
    try {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        char stamp[32];
        const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
        std::ofstream report(ErrorReportPath(), std::ios::app | std::ios::binary);
        report << std::string(stamp, length) << ' ' << text << '\n';
    } catch (...) {
        // The box below still tells the user; a report that cannot be written is no new error.
    }
    try {
        ShowErrorMessage(text);
    } catch (...) {}
}

}  // namespace selvane
