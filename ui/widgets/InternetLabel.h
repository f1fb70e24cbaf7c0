// TInternetLabel: a label that opens a web address when clicked. Its text is NotVisitedColor
// until a visit succeeds and VisitedColor after; while the mouse is over it, OverColor and
// underlined. The address is handed to Qt's desktop services; a visit counts when they
// report success. OnLinkActivating may refuse the opening. Owned by its parent widget;
// user-interface thread only.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

#include <functional>

namespace selvane {

class TInternetLabel : public QLabel {
    Q_OBJECT

public:
    using TLinkActivatingEvent = std::function<void(TInternetLabel* sender, bool& allow)>;

    explicit TInternetLabel(QWidget* parent = nullptr);

    QString Link() const { return link_; }
    void SetLink(const QString& link);
    // With LinkHint on, setting Link also makes it the label's hint.
    bool LinkHint() const { return linkHint_; }
    void SetLinkHint(bool on) { linkHint_ = on; }
    bool Visited() const { return visited_; }
    void SetVisited(bool visited);
    QColor VisitedColor() const { return visitedColor_; }
    void SetVisitedColor(const QColor& color);
    QColor NotVisitedColor() const { return notVisitedColor_; }
    void SetNotVisitedColor(const QColor& color);
    QColor OverColor() const { return overColor_; }
    void SetOverColor(const QColor& color);
    bool Hovering() const { return hovering_; }
    // The colour the text is drawn in now.
    QColor TextColor() const;

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    TLinkActivatingEvent OnLinkActivating;

    // True for a non-empty Link, unless OnLinkActivating says otherwise.
    virtual bool CanOpenLink();
    void OpenLink();

signals:
    void clicked();

protected:
    // Hands the link to the desktop's default action; true when it was opened.
    virtual bool OpenInShell(const QString& link);

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetTextColor(const QColor& color);
    void SetUnderline(bool on);

    QString link_;
    bool linkHint_ = false;
    bool visited_ = false;
    bool hovering_ = false;
    QColor visitedColor_{128, 0, 128};
    QColor notVisitedColor_{0, 0, 255};
    QColor overColor_{255, 0, 0};
};

}  // namespace selvane
