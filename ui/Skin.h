// TSkinManager: the program's own look, a Qt style sheet and palette shipped as the
// resource ":/skin/Selvane.qss", applied to the whole application. The main window switches
// it on at start-up when "Use skins *" is checked and releases it otherwise; switching it
// off (or destroying the manager) gives back the look the application had before.
// One at a time per application; user-interface thread only.
#pragma once

#include <QPalette>
#include <QString>

namespace selvane {

class TSkinManager {
public:
    TSkinManager() = default;
    ~TSkinManager();

    TSkinManager(const TSkinManager&) = delete;
    TSkinManager& operator=(const TSkinManager&) = delete;

    bool Active() const { return active_; }
    void SetActive(bool on);

    // The skin's style sheet as shipped.
    static QString StyleSheet();
    static QPalette Palette();

private:
    bool active_ = false;
    QPalette savedPalette_;
    QString savedStyleSheet_;
};

}  // namespace selvane
