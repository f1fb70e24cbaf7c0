// Anchors for controls placed at fixed positions in a container: a control can keep its
// distance to the container's right edge (move with it) or grow with the container in
// width, height or both, as the container is resized from the size it was designed at.
// The container owns the TAnchors object. User-interface thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace selvane {

class TAnchors : public QObject {
public:
    enum Kind { FollowRight = 1, StretchWidth = 2, StretchHeight = 4, FollowBottom = 8 };

    TAnchors(QWidget* container, QSize designSize);

    // child must already stand at its design geometry.
    void Add(QWidget* child, int kinds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> child;
        QRect design;
        int kinds;
    };

    void Apply(QSize size);

    QWidget* container_;
    QSize designSize_;
    std::vector<Entry> entries_;
};

}  // namespace selvane
