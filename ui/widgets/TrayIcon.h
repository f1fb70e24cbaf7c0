// TTrayIcon: the main window's icon in the notification area. With MinimizeToTray on,
// minimising the owner window hides it (and so its taskbar entry) and shows the icon; a
// left click on the icon raises OnClick, which the program answers with RestoreFromTray:
// the window comes back in its previous state (normal or maximised), in front, and the icon
// goes. A right click opens PopupMenu.
//
// Where the desktop offers no notification area, minimising is left as an ordinary
// minimise to the taskbar: a window hidden there would have no way back.
//
// Owned by (and a child of) the owner window; the icon leaves the notification area when
// the object is destroyed. User-interface thread only.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>
#include <optional>

class QWidget;

namespace selvane {

class TTrayIcon : public QObject {
    Q_OBJECT

public:
    explicit TTrayIcon(QWidget* owner);
    ~TTrayIcon() override;

    QIcon Icon() const { return icon_.icon(); }
    void SetIcon(const QIcon& icon) { icon_.setIcon(icon); }
    // The icon's tip; at most 127 characters are passed on.
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool IconVisible() const { return icon_.isVisible(); }
    void SetIconVisible(bool visible) { icon_.setVisible(visible); }
    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool on) { minimizeToTray_ = on; }
    QMenu* PopupMenu() const { return popupMenu_.data(); }
    void SetPopupMenu(QMenu* menu);

    // A left click on the icon.
    std::function<void()> OnClick;

    // Hides the owner window and shows the icon.
    void SendToTray();
    // Removes the icon and brings the owner window back in its previous state, in front.
    void RestoreFromTray();
    // The window is hidden in the notification area.
    bool InTray() const { return inTray_; }

    // Whether the desktop offers a notification area; tests may stand in for the answer.
    static bool TrayAvailable();
    static void OverrideTrayAvailableForTesting(std::optional<bool> available);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void IconActivated(QSystemTrayIcon::ActivationReason reason);

    QWidget* owner_;
    QSystemTrayIcon icon_;
    QString hint_;
    QPointer<QMenu> popupMenu_;
    bool minimizeToTray_ = false;
    bool inTray_ = false;
    bool wasMaximized_ = false;
};

}  // namespace selvane
