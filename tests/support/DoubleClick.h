// A double-click as the window system delivers it: press, release, a double-click event in
// place of the second press, release. QTest::mouseDClick leaves out the first release, and
// with it the click a program sees before the double-click.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

namespace selvane::test {

inline void DoubleClick(QWidget* widget, QPoint position)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, position);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, position);
    QMouseEvent second(QEvent::MouseButtonDblClick, position, widget->mapToGlobal(position), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &second);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, position);
}

}  // namespace selvane::test
