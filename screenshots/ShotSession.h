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
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

namespace selvane {

// The files the pictures go to, from the command line, made absolute. usage is the program's
// name followed by one word for each file; for any other number of arguments it is printed
// and the list is empty.
inline QStringList ShotOutputs(int argc, char** argv, const char* usage)
{
    const qsizetype files = QString::fromLatin1(usage).split(QLatin1Char(' ')).size() - 1;
    if (argc - 1 != files) {
        std::cerr << "usage: " << usage << '\n';
        return {};
    }
    QStringList outputs;
    for (int i = 1; i < argc; ++i)
        outputs << QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[i]));
    return outputs;
}

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
