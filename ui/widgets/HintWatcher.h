// THintWatcher: the application's current hint text and its tool-tips. The current hint is
// the hint (tool-tip text) of the widget under the mouse, or of its nearest enclosing widget
// that has one, or empty; each change of it raises HintChanged once the pending events have
// been handled, so that leaving one control for another reports only the second.
//
// The watcher also shows the tool-tips itself: with ShowHints off no tool-tip appears
// anywhere in the application; with it on, a tool-tip stays up for HidePause milliseconds.
// One per application, installed as the application's event filter for its lifetime.
// User-interface thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace selvane {

// The part of a hint after the first "|", or the whole hint when it has none.
QString GetLongHint(const QString& hint);

class THintWatcher : public QObject {
    Q_OBJECT

public:
    explicit THintWatcher(QObject* parent = nullptr);
    ~THintWatcher() override;

    QString CurrentHint() const { return currentHint_; }
    bool ShowHints() const { return showHints_; }
    void SetShowHints(bool show) { showHints_ = show; }
    int HidePause() const { return hidePause_; }
    void SetHidePause(int milliseconds) { hidePause_ = milliseconds; }

signals:
    void HintChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QString HintOf(const QWidget* widget);
    void ScheduleUpdate();
    void UpdateHint();

    QPointer<QWidget> underMouse_;
    QString currentHint_;
    bool showHints_ = true;
    int hidePause_ = 2500;
    bool updatePending_ = false;
};

}  // namespace selvane
