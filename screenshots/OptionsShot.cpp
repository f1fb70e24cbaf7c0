// Saves pictures of the main window's Settings page, with the skin on, and of the about box:
// selvane-shot-options SETTINGS.png ABOUT.png
// Run it under a real X server (xvfb-run); it works in a temporary home and changes
// nothing outside it, and no update check runs.
#include "screenshots/ShotSession.h"
#include "ui/mainform/MainForm.h"
#include "ui/widgets/AboutBox.h"

#include <QDir>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include <iostream>

int main(int argc, char** argv)
{
    const QStringList outputs =
        selvane::ShotOutputs(argc, argv, "selvane-shot-options SETTINGS.png ABOUT.png");
    if (outputs.isEmpty()) return 2;
    const QString& settingsOutput = outputs[0];
    const QString& aboutOutput = outputs[1];

    const selvane::ShotSession session(argv);
    if (!session.IsValid()) return 1;
    session.WriteSettings(
        "[WindowState]\nLast_used_tab=2\n[Updates]\nspnAutoUpdate=0\n[Settings]\nLastPath=" + session.Root() +
        "/\nchkSkins=1\nchkTrayIcon=1\nradHintsOff=0\nradHintsTooltips=0\nradHintsStatBar=1\n"
        "spnHideHint=3100\n");

    selvane::TMainForm form;
    form.InitMainWindow();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;
    // The status bar shows the hint of the control under the mouse in this mode.
    QTest::mouseMove(form.btnDesktopShortcut, QPoint(20, 10));
    if (!QTest::qWaitFor([&] { return form.StatusText() == form.btnDesktopShortcut->toolTip(); })) return 1;
    if (!form.grab().save(settingsOutput)) return 1;
    std::cout << "Saved " << settingsOutput.toStdString() << '\n';

    selvane::TAboutBox about(&form);
    about.show();
    if (!QTest::qWaitForWindowExposed(&about)) return 1;
    if (!about.grab().save(aboutOutput)) return 1;
    std::cout << "Saved " << aboutOutput.toStdString() << '\n';
    return 0;
}
