// Saves a picture of the main window on the "Image resizer" page, as a person sees it after
// choosing a folder of pictures and clicking one: selvane-shot-main-window OUTPUT.png
// Run it under a real X server (xvfb-run); it works in a temporary home and changes
// nothing outside it, and no update check runs.
#include "engine/codec/JpegEncoder.h"
#include "engine/Raster.h"
#include "screenshots/ShotSession.h"
#include "source/TessaroFileList.h"
#include "ui/mainform/MainForm.h"

#include <QDir>
#include <QPixmap>
#include <QTest>

#include <cmath>
#include <filesystem>
#include <iostream>

namespace {

// A photograph-like gradient with a bright disc, so the preview shows something.
void WritePicture(const std::string& path, int width, int height, int hue)
{
    selvane::Raster raster(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = raster.Row(y);
        for (int x = 0; x < width; ++x) {
            const double dx = x - width * 0.65, dy = y - height * 0.35;
            const bool sun = std::sqrt(dx * dx + dy * dy) < height * 0.12;
            row[3 * x + 0] = static_cast<std::uint8_t>(sun ? 40 : 120 + 100 * y / height);
            row[3 * x + 1] = static_cast<std::uint8_t>(sun ? 200 : (hue + 160 * y / height) % 256);
            row[3 * x + 2] = static_cast<std::uint8_t>(sun ? 255 : 60 + 80 * x / width);
        }
    }
    selvane::WriteJpegFile(raster, 90, path);
}

}  // namespace

int main(int argc, char** argv)
{
    const QStringList outputs = selvane::ShotOutputs(argc, argv, "selvane-shot-main-window OUTPUT.png");
    if (outputs.isEmpty()) return 2;
    const QString& output = outputs.front();

    const selvane::ShotSession session(argv);
    if (!session.IsValid()) return 1;

    const std::string pictures = session.Root() + "/Pictures/Holiday/";
    QDir().mkpath(QString::fromStdString(pictures));
    const char* names[] = {"beach.jpg", "harbour.jpg", "market.jpg", "sunset.jpg", "village.jpg"};
    int hue = 0;
    for (const char* name : names) WritePicture(pictures + name, 640, 480, hue += 40);
    // A folder of today holds the newer formats too: real files of the test corpus.
    const std::pair<const char*, const char*> others[] = {
        {"heif/derived/hevc-10bit.heic", "phone.heic"},
        {"webp/derived/anim-2-frames.webp", "download.webp"},
        {"tiff/derived/cmyk8-lzw.tif", "scan.tif"},
        {"avif/derived/lossless-8bit.avif", "camera.avif"},
        {"jxl/derived/grey-lossy.jxl", "export.jxl"}};
    for (const auto& [corpusFile, name] : others)
        std::filesystem::copy_file(std::filesystem::path(SELVANE_TESTDATA_DIR) / corpusFile, pictures + name);

    session.WriteSettings(
        "[WindowState]\nLast_used_tab=0\n[Updates]\nspnAutoUpdate=0\n[Settings]\nLastPath=" + pictures +
        "\n");

    selvane::TMainForm form;
    form.InitMainWindow();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    // Pictures of several formats selected beside the first (which the start selects), the
    // last one by a Ctrl-click that previews it, as a person would leave them before F9.
    auto* list = form.FileList;
    for (int row : {1, 6}) list->SetItemSelected(row, true);
    const QRect item = list->visualRect(list->model()->index(4, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, item.center());

    if (!form.grab().save(output)) return 1;
    std::cout << "Saved " << output.toStdString() << '\n';
    return 0;
}
