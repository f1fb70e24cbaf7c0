#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace selvane {

namespace {

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Info: return QMessageBox::Information;
    case MessageKind::Plain: break;
    }
    return QMessageBox::NoIcon;
}

void ShowBox(MessageKind kind, const std::string& caption, const std::string& text)
{
    QMessageBox box(QApplication::activeWindow());
    SetUpMessageBox(box, kind, caption, text);
    box.exec();
}

// Web addresses go to the browser; anything else is a local file or folder.
void OpenWithDesktop(const std::string& target)
{
    const QString text = QString::fromStdString(target);
    const QUrl url = text.contains(QLatin1String("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
    QDesktopServices::openUrl(url);
}

}  // namespace

QString BoxText(const std::string& text)
{
    QString result = QString::fromStdString(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(u'\r', u'\n');
    return result;
}

void SetUpMessageBox(QMessageBox& box, MessageKind kind, const std::string& caption, const std::string& text)
{
    box.setWindowTitle(QString::fromStdString(caption));
    box.setIcon(IconOf(kind));
    box.setText(BoxText(text));
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(QMessageBox::Ok);
}

bool AskInformationQuestion(const std::string& text)
{
    QMessageBox box(QApplication::activeWindow());
    SetUpMessageBox(box, MessageKind::Info, "Information", text);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void InstallQtMessageBoxes()
{
    SetMessageHandler(ShowBox);
    SetShellOpenHandler(OpenWithDesktop);
}

}  // namespace selvane
