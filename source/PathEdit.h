// TPathEdit: a single-line edit for a folder path that completes what the person types
// from the entries on disk. Typing the beginning of a name after an absolute folder
// ("/home/ann/Pho") completes it with the rest of the first matching entry
// (PathCompletion.h), the completed tail left selected so that typing on replaces it.
// Backspace and Delete never complete; Enter on an existing folder appends "/".
//
// Every change of the text (typed or set by code, the edit's own completions included)
// runs the change handling: OnChange first, then the completion step, which sets the text
// again and so runs the change handling once more. Nothing is reported or thrown; a
// folder that cannot be read yields no completion. Owned by its Qt parent;
// user-interface thread only.
#pragma once

#include "source/NotifyEvent.h"
#include "source/PathCompletion.h"

#include <QLineEdit>

namespace selvane {

class TPathEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TPathEdit(QWidget* parent = nullptr);
    // The initial text is set before any change handling, as a form loads it: no OnChange
    // and no completion.
    explicit TPathEdit(const QString& initialText, QWidget* parent = nullptr);

    // The last key pressed in the edit (a Qt::Key value; 0 before the first), kept until
    // the next key, so a change made by code completes according to it.
    int LastKey() const { return lastKey_; }

    bool Complete = true;
    // Which entries may complete the text: those carrying at least one of these attributes.
    TAttributesFiles CompleteWith = kAllAttributesFiles;
    TNotifyEvent OnChange;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Change();

    int lastKey_ = 0;
};

}  // namespace selvane
