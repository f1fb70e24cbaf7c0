// Saves a picture of the folder dialog, as scripts/screenshot folder-dialog shows it under
// Xvfb: selvane-shot-folder-dialog OUTPUT.png
//
// The dialog shows a small sample tree made in a temporary folder (HOME points there too),
// so the picture is the same on every machine and shows nothing of the real home.
#include "source/SelectDirDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

void MakeSampleTree(const std::filesystem::path& root)
{
    const std::filesystem::path pictures = root / "home" / "ann" / "Pictures";
    for (const char* folder : {"2019 Holidays", "2020 Garden", "Family", "Scans", "Screenshots"})
        std::filesystem::create_directories(pictures / folder);
    std::filesystem::create_directories(root / "home" / "ann" / "Desktop");
    std::filesystem::create_directories(root / "home" / "ann" / "Documents");
    for (const char* file : {"beach.jpg", "cat.png", "garden 01.jpg", "garden 02.jpg", "map.gif", "scan.bmp"})
        std::ofstream(pictures / file) << "x";
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    QApplication application(argc, argv);
    // Taken before the dialog's tree changes the current folder.
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    QTemporaryDir sample;
    if (!sample.isValid()) return 1;
    const std::filesystem::path root = sample.path().toStdString();
    MakeSampleTree(root);
    setenv("HOME", (root / "home" / "ann").c_str(), 1);

    selvane::TSelectDirDlg dialog;
    dialog.setWindowTitle("Browse for images");
    dialog.SetDirectory((root / "home" / "ann" / "Pictures").string());
    dialog.show();
    bool saved = false;
    // Grab once the window system has shown and painted the dialog.
    QTimer::singleShot(0, &dialog, [&] {
        saved = dialog.grab().save(output, "PNG");
        application.quit();
    });
    application.exec();
    return saved ? 0 : 1;
}
