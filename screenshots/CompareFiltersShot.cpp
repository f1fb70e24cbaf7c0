// Saves a picture of the "Compare filters" window, as a person sees it after clicking a
// small picture, choosing to magnify it four times and clicking an edge in the preview:
// selvane-shot-compare-filters OUTPUT.png
// Run it under a real X server (xvfb-run); it works in a temporary home and changes
// nothing outside it, and no update check runs.
#include "screenshots/ShotSession.h"
#include "source/TessaroFileList.h"
#include "ui/mainform/CompareFiltersWindow.h"
#include "ui/mainform/MainForm.h"
#include "ui/widgets/PreviewImage.h"

#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <iostream>

namespace {

// Lettering, thin lines and a sharp disc: the details on which the filters differ most.
void WritePicture(const QString& path)
{
    QImage picture(160, 120, QImage::Format_RGB32);
    picture.fill(QColor(235, 230, 215));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 60, 40));
    painter.drawEllipse(QPointF(112, 40), 22, 22);
    painter.setPen(QPen(QColor(30, 40, 90), 1));
    for (int x = 8; x < 80; x += 4) painter.drawLine(x, 70, x + 20, 112);
    QFont font = painter.font();
    font.setPixelSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(6, 6, 90, 40), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Selvane"));
    painter.end();
    picture.save(path, "PNG");
}

}  // namespace

int main(int argc, char** argv)
{
    const QStringList outputs = selvane::ShotOutputs(argc, argv, "selvane-shot-compare-filters OUTPUT.png");
    if (outputs.isEmpty()) return 2;
    const QString& output = outputs.front();

    const selvane::ShotSession session(argv);
    if (!session.IsValid()) return 1;

    const std::string pictures = session.Root() + "/Pictures/Drawings/";
    QDir().mkpath(QString::fromStdString(pictures));
    WritePicture(QString::fromStdString(pictures + "poster.png"));
    session.WriteSettings("[WindowState]\nLast_used_tab=0\n[Resize]\nradXDecrease=0\nradXIncrease=1\n"
                          "[Updates]\nspnAutoUpdate=0\n[Settings]\nspnRound=4\nLastPath=" +
                          pictures + "\n");

    selvane::TMainForm form;
    form.InitMainWindow();
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) return 1;

    auto* list = form.FileList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(0, 0)).center());
    QTest::mouseClick(form.btnCompare, Qt::LeftButton);
    if (form.CompareWindow == nullptr || !QTest::qWaitForWindowExposed(form.CompareWindow)) return 1;
    // The disc's left edge and the end of the lettering.
    const QRect drawn = form.imgLoader->PictureRect();
    QTest::mouseClick(form.imgLoader, Qt::LeftButton, {},
                      drawn.topLeft() + QPoint(drawn.width() * 92 / 160, drawn.height() * 30 / 120));
    QTest::qWait(200);

    if (!form.CompareWindow->grab().save(output)) return 1;
    std::cout << "Saved " << output.toStdString() << '\n';
    return 0;
}
