// The desktop program's message boxes and shell requests: the handlers that the utility
// functions deliver to (util/MessageHandler.h), as modal QMessageBox dialogs and Qt's
// desktop services. Captions and icons by kind: Plain "Selvane Image Resizer" without an
// icon, Error "Error" critical, Warning "Warning" warning, Information "Information"
// information; one OK button each. User-interface thread only.
#pragma once

#include "util/MessageHandler.h"

#include <QMessageBox>
#include <QString>

#include <string>

namespace selvane {

// Installs both handlers for the rest of the run.
void InstallQtMessageBoxes();

// The box for one message, as the installed handler shows it (for its caller to exec()).
void SetUpMessageBox(QMessageBox& box, MessageKind kind, const std::string& caption, const std::string& text);

// An information box with the buttons Yes and No; true for Yes.
bool AskInformationQuestion(const std::string& text);

// Message text with its "\r\n" (and lone "\r") line breaks as Qt shows them.
QString BoxText(const std::string& text);

}  // namespace selvane
