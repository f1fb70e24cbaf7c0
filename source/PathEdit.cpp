#include "source/PathEdit.h"

#include "util/TessaroTPU.h"

#include <QKeyEvent>

namespace selvane {

TPathEdit::TPathEdit(QWidget* parent) : TPathEdit(QString(), parent) {}

TPathEdit::TPathEdit(const QString& initialText, QWidget* parent) : QLineEdit(initialText, parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
}

void TPathEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (FolderExists(text().toStdString()) && !text().endsWith(u'/')) setText(text() + u'/');
        deselect();
        setCursorPosition(static_cast<int>(text().size()));
    }
    // The text changes inside the platform's handling below, and that change must already
    // see this key (Backspace and Delete do not complete).
    lastKey_ = key;
    QLineEdit::keyPressEvent(event);
}

void TPathEdit::Change()
{
    if (OnChange) OnChange(this);
    if (!Complete || lastKey_ == Qt::Key_Backspace || lastKey_ == Qt::Key_Delete || text().isEmpty()) return;
    // A selection here comes from an undo; the completion goes on from the text before it.
    const QString typed = hasSelectedText() ? text().left(selectionStart()) : text();
    const std::optional<Completion> completion = CompletePath(text(), typed, CompleteWith);
    if (!completion) return;
    setText(completion->text);
    setSelection(completion->selectionStart, completion->selectionLength);
}

}  // namespace selvane
