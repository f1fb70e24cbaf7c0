// TSpinField: an integer field with up and down arrows whose value is whatever integer its
// text holds. Unlike QSpinBox it accepts a number outside its range while the person types:
// the value then takes effect as typed, and is brought to the nearest bound only when the
// field loses the focus. Text that is not an integer (empty, a lone "-") reads as the
// minimum. A field whose minimum equals its maximum has no bounds at all.
//
// Change() is emitted for every change of the text, typed or set by code. Owned by its
// parent widget; user-interface thread only.
#pragma once

#include <QAbstractSpinBox>

namespace selvane {

class TSpinField : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit TSpinField(QWidget* parent = nullptr);

    // The integer the text holds; MinValue() when it holds none.
    int Value() const;
    // Shows value, brought into the range first.
    void SetValue(int value);

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    void SetRange(int minValue, int maxValue);
    void SetIncrement(int increment) { increment_ = increment; }
    void SetMaxLength(int characters);

    // value brought to the nearest bound; unchanged for a field without bounds.
    int CheckValue(int value) const;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    QSize sizeHint() const override;

signals:
    void Change();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int minValue_ = 0;
    int maxValue_ = 0;
    int increment_ = 1;
};

}  // namespace selvane
