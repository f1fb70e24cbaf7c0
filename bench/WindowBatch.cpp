// Times the window's batch as a person runs it: the real window on the pictures of a
// folder, all of them selected, F9 pressed, until the status bar says "Batch job done".
// Usage (under an X server, such as xvfb-run): selvane-window-batch PICTURES OUTPUT all-cores|one-by-one
// Prints the milliseconds. Works in a temporary home; no update check runs.
#include "platform/Administrator.h"
#include "ui/mainform/MainForm.h"
#include "ui/mainform/SettingsFile.h"
#include "ui/ResizerApplication.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string way = argc == 4 ? argv[3] : "";
    if (way != "all-cores" && way != "one-by-one") {
        std::cerr << "usage: selvane-window-batch PICTURES OUTPUT all-cores|one-by-one\n";
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid()) return 1;
    setenv("HOME", home.path().toLocal8Bit().constData(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit().constData(), 1);
    selvane::platform::OverrideAdministratorForTesting(false);
    int qtArgc = 1;
    selvane::TResizerApplication application(qtArgc, argv);

    const std::string settings = selvane::SettingsFilePath();
    QDir().mkpath(QFileInfo(QString::fromStdString(settings)).path());
    std::ofstream(settings)
        << "[WindowState]\nLast_used_tab=0\n[Updates]\nspnAutoUpdate=0\n[Settings]\nLastPath=" << argv[1]
        << "\nedtOutFolder=" << argv[2] << "\nchkAllCores=" << (way == "all-cores" ? 1 : 0) << "\n";

    selvane::TMainForm form;
    form.InitMainWindow();
    form.show();
    // F9 is a shortcut of the window, so the window must be the active one.
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) return 1;
    form.actSellAll->trigger();

    QElapsedTimer timer;
    timer.start();
    // The batch runs within the key press, whichever way it runs.
    QTest::keyClick(&form, Qt::Key_F9);
    const qint64 elapsed = timer.elapsed();
    if (!form.StatusText().startsWith(QStringLiteral("Batch job done"))) {
        std::cerr << "the batch did not end: " << form.StatusText().toStdString() << '\n';
        return 1;
    }
    std::cout << elapsed << '\n';
    return 0;
}
