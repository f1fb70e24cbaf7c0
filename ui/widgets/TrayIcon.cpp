#include "ui/widgets/TrayIcon.h"

#include <QMenu>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace selvane {

namespace {

constexpr qsizetype kMaxTipLength = 127;

std::optional<bool>& TrayAvailableOverride()
{
    static std::optional<bool> available;
    return available;
}

}  // namespace

TTrayIcon::TTrayIcon(QWidget* owner) : QObject(owner), owner_(owner)
{
    connect(&icon_, &QSystemTrayIcon::activated, this, &TTrayIcon::IconActivated);
    owner_->installEventFilter(this);
}

TTrayIcon::~TTrayIcon()
{
    icon_.hide();
}

bool TTrayIcon::TrayAvailable()
{
    if (TrayAvailableOverride()) return *TrayAvailableOverride();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayIcon::OverrideTrayAvailableForTesting(std::optional<bool> available)
{
    TrayAvailableOverride() = available;
}

void TTrayIcon::SetHint(const QString& hint)
{
    hint_ = hint;
    icon_.setToolTip(hint.left(kMaxTipLength));
}

void TTrayIcon::SetPopupMenu(QMenu* menu)
{
    popupMenu_ = menu;
    icon_.setContextMenu(menu);
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == owner_ && event->type() == QEvent::WindowStateChange && owner_->isMinimized() &&
        minimizeToTray_ && !inTray_ && TrayAvailable()) {
        wasMaximized_ = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMaximized;
        // Hidden once the minimise has been handled in full, not in the middle of it.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (owner_->isMinimized() && !inTray_) SendToTray();
            },
            Qt::QueuedConnection);
    }
    return false;
}

void TTrayIcon::SendToTray()
{
    if (!owner_->isMinimized()) wasMaximized_ = owner_->isMaximized();
    inTray_ = true;
    owner_->hide();
    icon_.show();
}

void TTrayIcon::RestoreFromTray()
{
    icon_.hide();
    if (!inTray_) return;
    inTray_ = false;
    owner_->setWindowState(wasMaximized_ ? Qt::WindowMaximized : Qt::WindowNoState);
    owner_->show();
    owner_->raise();
    owner_->activateWindow();
}

void TTrayIcon::IconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger && OnClick) OnClick();
}

}  // namespace selvane
