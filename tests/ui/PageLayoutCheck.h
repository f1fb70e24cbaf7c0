// Checks that each named control of a page shows whole: inside its parent, its caption not
// cut, clear of its neighbours (but for a spin field placed in a label's gap, a label whose
// caption holds a run of spaces for it). Goes down into every named control that has named
// controls of its own.
#pragma once

#include "ui/widgets/SpinField.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace selvane::test {

inline void ExpectWholeAndApart(QWidget* parent)
{
    // The name and the place, so that a failure says by how much.
    const auto name = [](const QWidget* widget) {
        const QRect place = widget->geometry();
        return widget->objectName().toStdString() + " (" + std::to_string(place.x()) + ", " +
               std::to_string(place.y()) + ", " + std::to_string(place.width()) + " x " +
               std::to_string(place.height()) + ")";
    };
    const auto inGap = [](const QWidget* a, const QWidget* b) {
        const auto* label = qobject_cast<const QLabel*>(a);
        return label && qobject_cast<const TSpinField*>(b) && label->text().contains(QLatin1String("  "));
    };
    const QList<QWidget*> children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (!child->isVisible() || child->objectName().isEmpty()) continue;
        EXPECT_TRUE(parent->rect().contains(child->geometry())) << name(child) << " leaves " << name(parent);
        if (auto* button = qobject_cast<QAbstractButton*>(child)) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << name(button);
        }
        for (QWidget* other : children)
            if (other != child && other->isVisible() && !other->objectName().isEmpty() &&
                !inGap(child, other) && !inGap(other, child) && child->objectName() < other->objectName()) {
                EXPECT_FALSE(child->geometry().intersects(other->geometry()))
                    << name(child) << " on " << name(other);
            }
        ExpectWholeAndApart(child);
    }
}

}  // namespace selvane::test
