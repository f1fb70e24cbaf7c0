#include "ui/widgets/SpinField.h"

#include <QLineEdit>

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <string>

namespace selvane {

namespace {

// An optional sign and decimal digits, nothing else; std::nullopt for any other text and
// for numbers beyond an int.
std::optional<int> ParseInteger(const QString& text)
{
    const std::string digits = text.toStdString();
    const char* first = digits.data();
    const char* last = first + digits.size();
    if (first != last && *first == '+') ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last) return std::nullopt;
    return value;
}

}  // namespace

TSpinField::TSpinField(QWidget* parent) : QAbstractSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(false);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinField::Change);
}

int TSpinField::Value() const
{
    return ParseInteger(lineEdit()->text()).value_or(minValue_);
}

void TSpinField::SetValue(int value)
{
    const QString text = QString::number(CheckValue(value));
    if (text != lineEdit()->text()) lineEdit()->setText(text);
}

void TSpinField::SetRange(int minValue, int maxValue)
{
    minValue_ = minValue;
    maxValue_ = maxValue;
}

void TSpinField::SetMaxLength(int characters)
{
    lineEdit()->setMaxLength(characters);
}

int TSpinField::CheckValue(int value) const
{
    if (minValue_ == maxValue_) return value;
    return std::clamp(value, minValue_, maxValue_);
}

void TSpinField::stepBy(int steps)
{
    const long long next = static_cast<long long>(Value()) + static_cast<long long>(steps) * increment_;
    SetValue(static_cast<int>(
        std::clamp<long long>(next, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    lineEdit()->selectAll();
}

QValidator::State TSpinField::validate(QString& input, int&) const
{
    // Digits and one leading sign may be typed; a half-typed number is kept as it stands.
    if (input.isEmpty() || input == QLatin1String("-") || input == QLatin1String("+"))
        return QValidator::Intermediate;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c.isDigit() && c.unicode() < 128) continue;
        if (i == 0 && (c == u'-' || c == u'+')) continue;
        return QValidator::Invalid;
    }
    return QValidator::Acceptable;
}

QSize TSpinField::sizeHint() const
{
    QSize size = QAbstractSpinBox::sizeHint();
    size.setWidth(std::max(size.width(), fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24));
    return size;
}

QAbstractSpinBox::StepEnabled TSpinField::stepEnabled() const
{
    return StepUpEnabled | StepDownEnabled;
}

void TSpinField::focusOutEvent(QFocusEvent* event)
{
    QAbstractSpinBox::focusOutEvent(event);
    const int value = Value();
    if (CheckValue(value) != value) SetValue(value);
}

}  // namespace selvane
