#include "ui/Skin.h"

#include <QApplication>
#include <QFile>

// The resource lives in this static library; nothing else would pull it into a program.
static void InitSkinResource()
{
    Q_INIT_RESOURCE(skin);
}

namespace selvane {

TSkinManager::~TSkinManager()
{
    SetActive(false);
}

QString TSkinManager::StyleSheet()
{
    InitSkinResource();
    QFile file(QStringLiteral(":/skin/Selvane.qss"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QPalette TSkinManager::Palette()
{
    // Warm sand surfaces and deep green accents, the colours of the program's pictures.
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(232, 228, 212));
    palette.setColor(QPalette::WindowText, QColor(34, 48, 40));
    palette.setColor(QPalette::Base, QColor(250, 248, 240));
    palette.setColor(QPalette::AlternateBase, QColor(238, 234, 220));
    palette.setColor(QPalette::Text, QColor(24, 32, 28));
    palette.setColor(QPalette::Button, QColor(214, 222, 200));
    palette.setColor(QPalette::ButtonText, QColor(34, 48, 40));
    palette.setColor(QPalette::Highlight, QColor(46, 84, 62));
    palette.setColor(QPalette::HighlightedText, QColor(250, 248, 240));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 250, 225));
    palette.setColor(QPalette::ToolTipText, QColor(24, 32, 28));
    return palette;
}

void TSkinManager::SetActive(bool on)
{
    if (on == active_) return;
    active_ = on;
    if (on) {
        savedPalette_ = QApplication::palette();
        savedStyleSheet_ = qApp->styleSheet();
        QApplication::setPalette(Palette());
        qApp->setStyleSheet(StyleSheet());
        return;
    }
    qApp->setStyleSheet(savedStyleSheet_);
    QApplication::setPalette(savedPalette_);
}

}  // namespace selvane
