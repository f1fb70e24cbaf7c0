// What every picture of the main window starts from: a temporary home (HOME and
// XDG_CONFIG_HOME in a fresh folder, removed at the end), the program running without
// administrator rights, the application object, and a settings file the picture chooses.
// So each picture shows a known start and nothing of the real home.
#pragma once

#include "platform/Administrator.h"
#include "ui/mainform/SettingsFile.h"
#include "ui/ResizerApplication.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

namespace selvane {

class ShotSession {
public:
    explicit ShotSession(char** argv)
    {
        if (!home_.isValid()) return;
        root_ = home_.path().toStdString();
        setenv("HOME", root_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root_ + "/.config").c_str(), 1);
        platform::OverrideAdministratorForTesting(false);
        application_ = std::make_unique<TResizerApplication>(qtArgc_, argv);
    }

    bool IsValid() const { return application_ != nullptr; }
    // The temporary home, without a trailing "/".
    const std::string& Root() const { return root_; }

    void WriteSettings(const std::string& text) const
    {
        const std::string path = SettingsFilePath();
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
        std::ofstream(path) << text;
    }

private:
    QTemporaryDir home_;
    std::string root_;
    int qtArgc_ = 1;
    std::unique_ptr<TResizerApplication> application_;
};

}  // namespace selvane
