#include "update/WebUpdate.h"

#include "platform/TempFolder.h"
#include "update/ClientFileName.h"
#include "update/VersionCompare.h"

#include <sys/stat.h>

namespace selvane {

namespace {

constexpr unsigned kComponentVersion = 0x0102;

// Sets Busy for one check and clears it on every way out.
class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

// Anything but a folder is in the way of the download, a symbolic link included, even a
// dangling one: the owner is asked before it is replaced.
bool LocalFileExists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

}  // namespace

TWebUpdate::~TWebUpdate()
{
    AbortTransfer();
}

void TWebUpdate::AbortTransfer()
{
    Aborted_ = true;
}

std::string TWebUpdate::Version()
{
    return std::to_string(kComponentVersion >> 8) + "." + std::to_string(kComponentVersion & 0xFF);
}

void TWebUpdate::Fire(const std::function<void()>& event)
{
    if (event) event();
}

bool TWebUpdate::RunUpdateCheck()
{
    if (Busy_) return false;
    const BusyScope busy(Busy_);
    Found_.Redirection.clear();

    Fire(OnBeforeGetInfo);
    FetchUpdateInfo();
    Fire(OnAfterGetInfo);
    // After a failed fetch both are empty too, so that case reports a second error here.
    if (Found_.ProductName.empty() || Found_.Version.empty()) {
        Fire(OnDownloadError);
        Succeeded_ = false;
    }
    if (!Succeeded_) return false;

    if (!IsNewerVersion(ProductInfo.VersionFormat, ProductInfo.CurVersion, Found_.Version)) {
        Fire(OnNoUpdateFound);
        return false;
    }
    bool CanUpdate = true;
    if (OnUpdateAvailable) OnUpdateAvailable(ProductInfo.CurVersion, Found_.Version, CanUpdate);
    if (!CanUpdate) return false;

    DownloadUpdate();
    if (!Succeeded_) return false;
    if (Options.Contains(TUpdateOption::uoRunUpdate)) RunDownloadedFile();
    return true;
}

void TWebUpdate::FetchUpdateInfo()
{
    for (int redirections = 0;; ++redirections) {
        // The client file name and the redirection survive until the next page is parsed.
        for (std::string* value : {&Found_.Version, &Found_.Download, &Found_.Author, &Found_.Email,
                                   &Found_.ProductName, &Found_.RunParameters})
            value->clear();
        if (redirections > kMaxPageRedirections) {
            // The redirection not followed counts as a fetch that failed.
            Succeeded_ = false;
            Fire(OnDownloadError);
            return;
        }
        const std::string address = Found_.Redirection.empty() ? ProductInfo.URL() : Found_.Redirection;
        TransferUrl(address, nullptr, false);
        if (!Succeeded_) return;
        Found_ = ParseUpdateInfo(InfoLines_, TagInfo);
        if (Found_.Redirection.empty()) return;
    }
}

std::string TWebUpdate::MakeClientFileName() const
{
    const auto name = ClientFileBaseName(Found_.ClientFileName);
    return name ? platform::GetTempFolder() + *name : std::string();
}

void TWebUpdate::DownloadUpdate()
{
    Succeeded_ = false;
    ClientFile_ = MakeClientFileName();
    if (ClientFile_.empty()) {
        // The page names no file we would write.
        Fire(OnDownloadError);
        return;
    }
    if (OnGetClientFileName) OnGetClientFileName(ClientFile_);

    if (LocalFileExists(ClientFile_)) {
        bool Overwrite = Options.Contains(TUpdateOption::uoOverwrite);
        if (OnClientFileExists) OnClientFileExists(ClientFile_, Overwrite);
        if (!Overwrite) {
            Fire(OnDownloadError);
            return;
        }
    }

    if (OnBeforeDownload) OnBeforeDownload(ClientFile_);
    TransferUrl(Found_.Download, &ClientFile_, true);
    if (Succeeded_ && OnAfterDownload) OnAfterDownload(ClientFile_);
}

void TWebUpdate::RunDownloadedFile()
{
    if (!RunFile || !RunFile(ClientFile_, Found_.RunParameters)) Fire(OnCannotExecute);
    if (Options.Contains(TUpdateOption::uoTerminate) && TerminateApplication) TerminateApplication();
}

}  // namespace selvane
