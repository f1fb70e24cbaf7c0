#include "ui/mainform/CompareFiltersWindow.h"

#include "ui/ErrorReport.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace selvane {

namespace {

constexpr int kColumns = 4;
constexpr int kTileSide = 256;

}  // namespace

TCompareFiltersWindow::TCompareFiltersWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(QStringLiteral("Compare filters"));
    auto* column = new QVBoxLayout(this);
    lblRegion = new QLabel(this);
    column->addWidget(lblRegion);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(12);
    column->addLayout(grid);
    for (int index = 0; index < kFilterCount; ++index) {
        auto* tile = new QVBoxLayout;
        const std::string_view name = FilterTable[static_cast<std::size_t>(index)].Name;
        lblNames[index] =
            new QLabel(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), this);
        lblNames[index]->setAlignment(Qt::AlignCenter);
        QFont bold = lblNames[index]->font();
        bold.setBold(true);
        lblNames[index]->setFont(bold);
        imgTiles[index] = new QLabel(this);
        imgTiles[index]->setAlignment(Qt::AlignCenter);
        imgTiles[index]->setMinimumSize(kTileSide, kTileSide);
        btnUse[index] = new QPushButton(QStringLiteral("Use this filter"), this);
        connect(btnUse[index], &QPushButton::clicked, this, [this, index] {
            RunReportingErrors([&] {
                if (OnUseFilter) OnUseFilter(index);
            });
        });
        tile->addWidget(lblNames[index]);
        tile->addWidget(imgTiles[index]);
        tile->addWidget(btnUse[index], 0, Qt::AlignHCenter);
        grid->addLayout(tile, index / kColumns, index % kColumns);
    }
    lblHowTo = new QLabel(QStringLiteral("Click the preview to show another part of the picture."), this);
    lblHowTo->setWordWrap(true);
    lblHowTo->setAlignment(Qt::AlignCenter);
    grid->addWidget(lblHowTo, kFilterCount / kColumns, kFilterCount % kColumns);
}

void TCompareFiltersWindow::ShowTiles(const QString& caption, const std::array<QImage, kFilterCount>& tiles)
{
    lblRegion->setText(caption);
    for (int index = 0; index < kFilterCount; ++index) {
        QPixmap pixmap = QPixmap::fromImage(tiles[static_cast<std::size_t>(index)]);
        // One pixel of the output on one pixel of the screen, whatever the desktop's scale.
        pixmap.setDevicePixelRatio(devicePixelRatioF());
        imgTiles[index]->setPixmap(pixmap);
    }
}

void TCompareFiltersWindow::ShowRefusal(const QString& text)
{
    lblRegion->setText(text);
    for (QLabel* tile : imgTiles) tile->clear();
}

void TCompareFiltersWindow::SetChosenFilter(int index)
{
    for (int filter = 0; filter < kFilterCount; ++filter) btnUse[filter]->setEnabled(filter != index);
}

}  // namespace selvane
