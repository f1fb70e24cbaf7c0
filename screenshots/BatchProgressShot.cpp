// Saves a picture of the main window while a batch runs, with the progress beside the
// status bar: selvane-shot-batch-progress OUTPUT.png
// Run it under a real X server (xvfb-run); it works in a temporary home and changes
// nothing outside it, and no update check runs.
#include "engine/codec/JpegEncoder.h"
#include "engine/Raster.h"
#include "screenshots/ShotSession.h"
#include "ui/mainform/MainForm.h"

#include <QDir>
#include <QPixmap>
#include <QProgressBar>
#include <QTest>

#include <iostream>

namespace {

// Bands of colour that shift from picture to picture, so the preview shows which one it is.
void WritePicture(const std::string& path, int width, int height, int hue)
{
    selvane::Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = raster.Row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x + 0] = static_cast<std::uint8_t>(60 + 150 * y / height);
            row[3 * x + 1] = static_cast<std::uint8_t>((hue + 120 * x / width) % 256);
            row[3 * x + 2] = static_cast<std::uint8_t>(200 - 120 * y / height);
        }
    }
    selvane::WriteJpegFile(raster, 90, path);
}

}  // namespace

int main(int argc, char** argv)
{
    const QStringList outputs = selvane::ShotOutputs(argc, argv, "selvane-shot-batch-progress OUTPUT.png");
    if (outputs.isEmpty()) return 2;
    const QString& output = outputs.front();

    const selvane::ShotSession session(argv);
    if (!session.IsValid()) return 1;

    const std::string pictures = session.Root() + "/Pictures/Holiday/";
    QDir().mkpath(QString::fromStdString(pictures));
    const char* names[] = {"beach.jpg",  "cliffs.jpg", "harbour.jpg",
                           "market.jpg", "sunset.jpg", "village.jpg"};
    int hue = 0;
    for (const char* name : names) WritePicture(pictures + name, 1600, 1200, hue += 40);
    session.WriteSettings(
        "[WindowState]\nLast_used_tab=0\n[Updates]\nspnAutoUpdate=0\n[Settings]\nLastPath=" + pictures +
        "\n");

    selvane::TMainForm form;
    form.InitMainWindow();
    form.show();
    // F9 is a shortcut of the window, so the window must be the active one.
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) return 1;
    form.actSellAll->trigger();

    // The picture is taken when half the pictures are done, from within the batch.
    bool saved = false;
    QObject::connect(form.proBatch, &QProgressBar::valueChanged, &form, [&](int done) {
        if (saved || done != form.proBatch->maximum() / 2) return;
        saved = form.grab().save(output);
    });
    QTest::keyClick(&form, Qt::Key_F9);
    if (!saved) return 1;
    std::cout << "Saved " << output.toStdString() << '\n';
    return 0;
}
