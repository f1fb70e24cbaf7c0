#include "ui/TaskBarProgress.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QVariantMap>

namespace selvane {
namespace {

constexpr auto kInterface = "com.canonical.Unity.LauncherEntry";

// The bus's own default: the address in the environment, else the user's bus socket. Read
// for each window rather than through QDBusConnection::sessionBus(), whose address is fixed
// for the whole process at its first use.
QString SessionBusAddress()
{
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty()) return address;
    const QString socket = qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") || !QFileInfo(socket).exists()) return {};
    return QStringLiteral("unix:path=") + socket;
}

// "example.selvane.ImageResizer" gives "/example/selvane/ImageResizer": an object path may
// hold only letters, digits and "_" between its slashes.
QString ObjectPath(const QString& appId)
{
    QString path;
    for (QString element : appId.split(u'.', Qt::SkipEmptyParts))
        path +=
            u'/' + element.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_]")), QStringLiteral("_"));
    return path.isEmpty() ? QStringLiteral("/") : path;
}

}  // namespace

TaskBarProgress::TaskBarProgress()
    : connectionName_(QStringLiteral("selvane-task-bar-%1").arg(reinterpret_cast<quintptr>(this)))
{}

TaskBarProgress::~TaskBarProgress()
{
    Hide();
    if (connected_) QDBusConnection::disconnectFromBus(connectionName_);
}

void TaskBarProgress::Show(double fraction)
{
    shown_ = true;
    Send({{QStringLiteral("progress"), fraction}, {QStringLiteral("progress-visible"), true}});
}

void TaskBarProgress::Hide()
{
    if (!shown_) return;
    shown_ = false;
    Send({{QStringLiteral("progress-visible"), false}});
}

bool TaskBarProgress::Connected()
{
    if (triedToConnect_) return connected_;
    triedToConnect_ = true;
    const QString address = SessionBusAddress();
    if (address.isEmpty() || QGuiApplication::desktopFileName().isEmpty()) return false;
    connected_ = QDBusConnection::connectToBus(address, connectionName_).isConnected();
    if (!connected_) QDBusConnection::disconnectFromBus(connectionName_);
    return connected_;
}

void TaskBarProgress::Send(const QVariantMap& properties)
{
    if (!Connected()) return;
    const QString appId = QGuiApplication::desktopFileName();
    QDBusMessage update = QDBusMessage::createSignal(ObjectPath(appId), QString::fromLatin1(kInterface),
                                                     QStringLiteral("Update"));
    update << QStringLiteral("application://%1.desktop").arg(appId) << properties;
    QDBusConnection(connectionName_).send(update);
}

}  // namespace selvane
