// TWebUpdate finds out whether a newer version of the program is published and downloads
// it. RunUpdateCheck fetches the update page (following the page's own redirections up to
// kMaxPageRedirections), reads its META values, compares the version with
// ProductInfo.CurVersion and, when it is newer and the owner agrees, downloads the new file
// into the temporary folder (or where OnGetClientFileName / OnClientFileExists put it).
//
// Every outcome is reported through the events; nothing is thrown for a network, server
// or file failure. A std::exception from OnDownload or ProcessMessages ends that transfer
// as a failure without an event; one from any other handler reaches the caller, with Busy
// cleared. A download is written under a temporary name beside its target and renamed into
// place only when complete, so a failed, short or aborted download never leaves a file
// that looks finished, and an existing file stays as it was.
//
// Single-threaded: everything runs on the caller's thread and blocks it. After every
// received chunk (at most 1025 bytes) OnDownload fires and then the ProcessMessages hook
// runs, so the program's other handlers may run nested: a nested RunUpdateCheck is refused
// through Busy, and AbortTransfer stops the running transfer at its next poll. The
// component must outlive a running check.
#pragma once

#include "update/UpdatePage.h"
#include "update/UpdateSettings.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace selvane {

class TWebUpdate {
public:
    // A page may name a further page to read instead; more than this many in a row end
    // the check as a failed fetch, so a page that names itself cannot loop for ever.
    static constexpr int kMaxPageRedirections = 5;
    // The update page is collected in memory; a longer one fails its transfer.
    static constexpr std::size_t kMaxPageSize = 1 << 20;
    // A setup program is a few megabytes; a download announced as larger fails before any
    // byte is written, so a hostile server cannot fill the temporary folder.
    static constexpr std::int64_t kMaxDownloadSize = std::int64_t{512} << 20;

    TWebUpdate() = default;
    ~TWebUpdate();
    TWebUpdate(const TWebUpdate&) = delete;
    TWebUpdate& operator=(const TWebUpdate&) = delete;

    // Settings.
    TTagInfo TagInfo;
    TProductInfo ProductInfo;
    std::string UserName;
    std::string Password;
    TUpdateOptions Options{TUpdateOption::uoRunUpdate, TUpdateOption::uoTerminate};
    // Every transfer fails when it cannot connect within ConnectTimeout or receives
    // nothing for StallTimeout (whole seconds).
    std::chrono::milliseconds ConnectTimeout = std::chrono::seconds(10);
    std::chrono::seconds StallTimeout = std::chrono::seconds(30);
    // A server that keeps sending a little must not hold the program either: the page
    // fails when it takes longer than PageDeadline, the setup file when, after RateWindow,
    // it has averaged less than MinimumRate bytes per second (a slow line still finishes).
    std::chrono::milliseconds PageDeadline = std::chrono::seconds(30);
    std::size_t MinimumRate = 4096;
    std::chrono::milliseconds RateWindow = std::chrono::seconds(30);

    // Events; an unset one is skipped. By-reference parameters come in preset.
    std::function<void()> OnBeforeGetInfo;
    std::function<void()> OnAfterGetInfo;
    std::function<void()> OnDownloadError;
    std::function<void()> OnNoUpdateFound;
    std::function<void(const std::string& ActualVersion, const std::string& NewVersion, bool& CanUpdate)>
        OnUpdateAvailable;
    std::function<void(std::string& FileName)> OnGetClientFileName;
    std::function<void(std::string& FileName, bool& Overwrite)> OnClientFileExists;
    std::function<void(const std::string& FileName)> OnBeforeDownload;
    std::function<void(std::int64_t Total, std::int64_t Downloaded)> OnDownload;
    std::function<void(const std::string& FileName)> OnAfterDownload;
    std::function<void()> OnCannotExecute;

    // Hooks the program installs; none are needed in tests or the command-line tool.
    // Lets pending window messages through; runs after every received chunk.
    std::function<void()> ProcessMessages;
    // Starts the downloaded file with the page's parameters (uoRunUpdate); false when it
    // could not be started. Without it the file counts as not started.
    std::function<bool(const std::string& FileName, const std::string& Parameters)> RunFile;
    // Asks the application to end after the current message (uoTerminate).
    std::function<void()> TerminateApplication;

    // True only when a newer version was found and downloaded completely (and, with
    // uoRunUpdate, its start was attempted). False in every other case, including a call
    // made while a check is running, which fires no event.
    bool RunUpdateCheck();
    // Stops the running transfer at its next poll, without an event of its own.
    void AbortTransfer();

    // The default local path of the download: the temporary folder and the base name of
    // the page's client file name; empty when that name is empty, "." or "..".
    std::string MakeClientFileName() const;

    // The component's own version, "1.2".
    static std::string Version();

    // State of the last check.
    bool Busy() const { return Busy_; }
    bool Succeeded() const { return Succeeded_; }
    const TFoundInfo& Found() const { return Found_; }
    const std::vector<std::string>& InfoLines() const { return InfoLines_; }
    const std::string& ClientFile() const { return ClientFile_; }
    std::int64_t Total() const { return Total_; }
    std::int64_t Downloaded() const { return Downloaded_; }

private:
    class TransferReceiver;

    void FetchUpdateInfo();
    void DownloadUpdate();
    void RunDownloadedFile();
    // One transfer: the update page into InfoLines (filePath null) or a file.
    void TransferUrl(const std::string& address, const std::string* filePath, bool lengthRequired);

    static void Fire(const std::function<void()>& event);

    bool Busy_ = false;
    std::string ClientFile_;
    std::vector<std::string> InfoLines_;
    std::atomic<bool> Aborted_ = false;
    TFoundInfo Found_;
    bool Succeeded_ = false;
    std::int64_t Total_ = 0;
    std::int64_t Downloaded_ = 0;
};

}  // namespace selvane
