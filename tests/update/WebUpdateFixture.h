// A TWebUpdate set up as the program sets it (Tessaro tag names, uoOverwrite alone, the
// program's version), a loopback server for its pages and files, a sandbox for HOME and
// TMPDIR, and a record of every event it fires.
#pragma once

#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/TestSandbox.h"
#include "tests/support/UpdateTestFiles.h"
#include "update/WebUpdate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace selvane::test {

class WebUpdateFixture : public ::testing::Test {
protected:
    static constexpr const char* kCurrentVersion = "1.5.3.56";
    static constexpr const char* kSetupName = "SelvaneSetup.exe";

    WebUpdateFixture()
    {
        sandbox_.RedirectTemp();
        update_.TagInfo = kSiteTagInfo;
        update_.Options = {TUpdateOption::uoOverwrite};
        update_.ProductInfo.SetURL(server_.Url("/download-selvane/index.html"));
        update_.ProductInfo.CurVersion = kCurrentVersion;
        update_.StallTimeout = std::chrono::seconds(1);
        update_.PageDeadline = std::chrono::seconds(2);
        update_.RateWindow = std::chrono::milliseconds(500);
        RecordEvents();
    }

    // A page offering version with the setup file at /setup.exe.
    std::string Page(const std::string& version, const std::string& clientName = kSetupName,
                     const std::string& extraLine = "") const
    {
        return "<html><head>\r\n" + Meta("TessaroProduct", "Selvane Image Resizer") + "\r\n" +
               Meta("TessaroVersion", version) + "\r\n" + Meta("TessaroDownload", server_.Url("/setup.exe")) +
               "\r\n" + Meta("TessaroClientSideName", clientName) + "\r\n" + extraLine +
               "\r\n</head><body>Download</body></html>\r\n";
    }

    void ServePage(const std::string& text, const std::string& path = "/download-selvane/index.html")
    {
        ScriptedReply reply;
        reply.body = text;
        server_.Serve(path, reply);
    }

    void ServeSetup(const std::string& bytes, bool withLength = true)
    {
        ScriptedReply reply;
        reply.body = bytes;
        reply.withLength = withLength;
        server_.Serve("/setup.exe", reply);
    }

    std::string TempPath(const std::string& name) const { return (sandbox_.Temp() / name).string(); }

    // The events of one check up to the update offer, for pages that offer a newer version.
    std::vector<std::string> Offered(const std::string& newVersion) const
    {
        return {"BeforeGetInfo", "AfterGetInfo",
                "UpdateAvailable " + std::string(kCurrentVersion) + " -> " + newVersion};
    }

    static std::vector<std::string> Then(std::vector<std::string> first, const std::vector<std::string>& more)
    {
        first.insert(first.end(), more.begin(), more.end());
        return first;
    }

    TestSandbox sandbox_;
    LoopbackHttpServer server_;
    TWebUpdate update_;
    std::vector<std::string> events_;
    // (Total, Downloaded) of every OnDownload.
    std::vector<std::pair<std::int64_t, std::int64_t>> progress_;

private:
    void RecordEvents()
    {
        const auto note = [this](std::string text) { return [this, text] { events_.push_back(text); }; };
        update_.OnBeforeGetInfo = note("BeforeGetInfo");
        update_.OnAfterGetInfo = note("AfterGetInfo");
        update_.OnDownloadError = note("DownloadError");
        update_.OnNoUpdateFound = note("NoUpdateFound");
        update_.OnCannotExecute = note("CannotExecute");
        update_.OnUpdateAvailable = [this](const std::string& actual, const std::string& found,
                                           bool& canUpdate) {
            events_.push_back("UpdateAvailable " + actual + " -> " + found +
                              (canUpdate ? "" : " (came in false)"));
        };
        update_.OnGetClientFileName = [this](std::string& fileName) {
            events_.push_back("GetClientFileName " + fileName);
        };
        update_.OnClientFileExists = [this](std::string& fileName, bool& overwrite) {
            events_.push_back("ClientFileExists " + fileName + (overwrite ? " overwrite" : " keep"));
        };
        update_.OnBeforeDownload = [this](const std::string& fileName) {
            events_.push_back("BeforeDownload " + fileName);
        };
        update_.OnAfterDownload = [this](const std::string& fileName) {
            events_.push_back("AfterDownload " + fileName);
        };
        update_.OnDownload = [this](std::int64_t total, std::int64_t downloaded) {
            progress_.emplace_back(total, downloaded);
        };
    }
};

}  // namespace selvane::test
