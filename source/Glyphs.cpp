#include "source/Glyphs.h"

#include <QPainter>
#include <QPolygon>

#include <map>

namespace selvane {

namespace {

// The background that TransparentByBottomLeft removes; no artwork uses it.
const QColor kKey(255, 0, 255);

const QColor kOutline(96, 72, 8);
const QColor kFolder(255, 210, 84);
const QColor kFolderLight(255, 238, 160);
const QColor kFrame(64, 64, 64);
const QColor kPaper(255, 255, 255);
const QColor kSilver(192, 192, 192);
const QColor kNavy(0, 0, 128);

void DrawClosedFolder(QPainter& p)
{
    p.setPen(kOutline);
    p.setBrush(kFolder);
    p.drawPolygon(QPolygon({{1, 13}, {1, 3}, {2, 2}, {6, 2}, {7, 3}, {7, 4}, {14, 4}, {14, 13}}));
    p.setPen(kFolderLight);
    p.drawLine(2, 5, 13, 5);
}

void DrawOpenFolder(QPainter& p, const QColor& flap)
{
    p.setPen(kOutline);
    p.setBrush(kFolder);
    p.drawPolygon(QPolygon({{1, 13}, {1, 3}, {2, 2}, {6, 2}, {7, 3}, {7, 4}, {13, 4}, {13, 7}}));
    p.setBrush(flap);
    p.drawPolygon(QPolygon({{1, 13}, {4, 7}, {15, 7}, {12, 13}}));
}

QImage Canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(kKey);
    return image;
}

QImage Draw(GlyphId id)
{
    const bool drive = id == GlyphId::Floppy || id == GlyphId::Hard || id == GlyphId::Network ||
                       id == GlyphId::CdRom || id == GlyphId::Ram;
    QImage image = Canvas(16, drive ? 11 : 15);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (id) {
    case GlyphId::Executable:
        p.setPen(kFrame);
        p.setBrush(kPaper);
        p.drawRect(1, 2, 13, 11);
        p.fillRect(2, 3, 12, 2, kNavy);
        break;
    case GlyphId::UnknownFile:
        p.setPen(kFrame);
        p.setBrush(kPaper);
        p.drawPolygon(QPolygon({{3, 0}, {10, 0}, {13, 3}, {13, 14}, {3, 14}}));
        p.drawPolyline(QPolygon({{10, 0}, {10, 3}, {13, 3}}));
        p.setPen(kSilver);
        for (int y = 6; y <= 12; y += 2) p.drawLine(5, y, 11, y);
        break;
    case GlyphId::ClosedFolder: DrawClosedFolder(p); break;
    case GlyphId::OpenFolder: DrawOpenFolder(p, kFolderLight); break;
    case GlyphId::CurrentFolder:
        DrawOpenFolder(p, kFolderLight);
        p.fillRect(7, 9, 3, 2, kNavy);
        break;
    case GlyphId::Floppy:
        p.setPen(kFrame);
        p.setBrush(QColor(40, 40, 96));
        p.drawRect(3, 0, 9, 10);
        p.fillRect(5, 1, 5, 3, kSilver);
        p.fillRect(5, 6, 5, 4, kPaper);
        break;
    case GlyphId::Hard:
        p.setPen(kFrame);
        p.setBrush(kSilver);
        p.drawRect(1, 3, 13, 5);
        p.setPen(kPaper);
        p.drawLine(2, 4, 12, 4);
        p.fillRect(11, 6, 2, 1, QColor(0, 176, 0));
        break;
    case GlyphId::Network:
        p.setPen(kFrame);
        p.setBrush(kSilver);
        p.drawRect(1, 1, 13, 4);
        p.fillRect(11, 3, 2, 1, QColor(0, 176, 0));
        p.drawLine(7, 6, 7, 8);
        p.drawLine(3, 9, 12, 9);
        break;
    case GlyphId::CdRom:
        p.setPen(QColor(128, 128, 128));
        p.setBrush(kSilver);
        p.drawEllipse(3, 0, 10, 10);
        p.setBrush(kPaper);
        p.drawEllipse(7, 4, 2, 2);
        break;
    case GlyphId::Ram:
        p.fillRect(2, 2, 12, 6, QColor(0, 120, 64));
        p.setPen(QColor(200, 160, 0));
        for (int x = 3; x <= 13; x += 2) p.drawLine(x, 8, x, 9);
        break;
    case GlyphId::Desktop:
        p.setPen(kFrame);
        p.setBrush(QColor(0, 128, 128));
        p.drawRect(1, 1, 13, 9);
        p.fillRect(6, 11, 4, 1, kFrame);
        p.fillRect(4, 12, 8, 2, kFrame);
        break;
    case GlyphId::Documents:
        p.setPen(kFrame);
        p.setBrush(kPaper);
        p.drawRect(4, 0, 8, 8);
        DrawClosedFolder(p);
        break;
    }
    return image;
}

}  // namespace

QImage TransparentByBottomLeft(const QImage& picture)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    if (result.isNull()) return result;
    const QRgb key = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if (row[x] == key) row[x] = qRgba(0, 0, 0, 0);
    }
    return result;
}

const QImage& Glyph(GlyphId id)
{
    static std::map<GlyphId, QImage> made;
    auto found = made.find(id);
    if (found == made.end()) found = made.emplace(id, TransparentByBottomLeft(Draw(id))).first;
    return found->second;
}

}  // namespace selvane
