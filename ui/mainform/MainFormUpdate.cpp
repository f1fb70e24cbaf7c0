// The window's side of the web update: the component's settings, when a check is due, and
// the status texts and the question that its events turn into.
#include "ui/mainform/MainForm.h"

#include "ui/ErrorReport.h"
#include "ui/mainform/LocalDateTime.h"
#include "ui/QtMessageBoxes.h"
#include "ui/widgets/SpinField.h"
#include "update/UpdateSchedule.h"
#include "util/TessaroTPU.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>

namespace selvane {

namespace {

// The folder part of a path, with its trailing separator.
std::string FolderPart(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NamePart(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

void TMainForm::SetUpWebUpdate()
{
    WebUpdate.TagInfo = kSiteTagInfo;
    // The program never starts the downloaded file and never ends itself for an update.
    WebUpdate.Options = {TUpdateOption::uoOverwrite};
    WebUpdate.ProductInfo.VersionFormat = TVersionFormat::vfStandard;
    WebUpdate.OnUpdateAvailable = [this](const std::string& actual, const std::string& newer,
                                         bool& canUpdate) {
        WebUpdateUpdateAvailable(actual, newer, canUpdate);
    };
    WebUpdate.OnNoUpdateFound = [this] { WebUpdateNoUpdateFound(); };
    WebUpdate.OnDownloadError = [this] { WebUpdateDownloadError(); };
    WebUpdate.OnClientFileExists = [this](std::string& fileName, bool& overwrite) {
        WebUpdateClientFileExists(fileName, overwrite);
    };
    WebUpdate.OnAfterDownload = [this](const std::string& fileName) { WebUpdateAfterDownload(fileName); };
    WebUpdate.ProcessMessages = [] { QCoreApplication::processEvents(); };

    connect(mnuUpdates, &QAction::triggered, this, Reporting(this, &TMainForm::mnuUpdatesClick));
}

void TMainForm::CheckUpdates(bool manual)
{
    if (!IsUpdateCheckDue(manual, spnAutoUpdate->Value(), DaysToLocalSeconds(LastCheck),
                          DaysToLocalSeconds(LocalNowAsDays())))
        return;
    SetStatusText(QStringLiteral("Checking for updates..."));
    LastCheck = LocalNowAsDays();
    WebUpdate.RunUpdateCheck();
}

void TMainForm::mnuUpdatesClick()
{
    CheckUpdates(true);
}

void TMainForm::WebUpdateUpdateAvailable(const std::string& ActualVersion, const std::string& NewVersion,
                                         bool&)
{
    SetStatusText(QString::fromStdString("A new version was found: " + NewVersion +
                                         "   |    Your current version is: " + ActualVersion));
}

void TMainForm::WebUpdateNoUpdateFound()
{
    SetStatusText(QStringLiteral("Updating: no updates available at this time."));
}

void TMainForm::WebUpdateDownloadError()
{
    SetStatusText(
        QStringLiteral("Updating: error contacting the web site. Please manually check for updates."));
}

void TMainForm::WebUpdateClientFileExists(std::string& FileName, bool&)
{
    const std::string folder = GetProgramFolder() + "Updates/";
    // One level only; a folder that cannot be made shows as a failed download.
    QDir().mkdir(QString::fromStdString(folder));
    FileName = folder + NamePart(FileName);
}

void TMainForm::WebUpdateAfterDownload(const std::string& FileName)
{
    const std::string folder = FolderPart(FileName);
    if (AskInformationQuestion("Update has been downloaded to \r\n     " + folder +
                               "\r\nDon't forget to close this program, before running the update!\r\n\r\n"
                               "Do you want to open this folder for you?"))
        OpenWithShell(folder);
}

}  // namespace selvane
