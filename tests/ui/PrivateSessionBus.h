// A session bus of the test's own: a dbus-daemon in the sandbox, named by
// DBUS_SESSION_BUS_ADDRESS while the object lives, and a listener on it that records the
// task-bar progress signals it hears, as a desktop's task bar would receive them.
#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QObject>
#include <QProcess>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace selvane::test {

// Sets an environment variable while it lives and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const QByteArray& value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name)) previous_ = qgetenv(name);
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (previous_) qputenv(name_, *previous_);
        else qunsetenv(name_);
    }

    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> previous_;
};

class LauncherEntryListener : public QObject {
    Q_OBJECT
public:
    explicit LauncherEntryListener(const QString& address)
        : bus_(QDBusConnection::connectToBus(address, QStringLiteral("launcher-entry-listener")))
    {
        EXPECT_TRUE(bus_.isConnected()) << bus_.lastError().message().toStdString();
        EXPECT_TRUE(bus_.connect({}, {}, QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                 QStringLiteral("Update"), this, SLOT(Update(QString, QVariantMap))));
        // The bus answers calls in order, so once this one is answered it has taken the match.
        bus_.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    }
    ~LauncherEntryListener() override { QDBusConnection::disconnectFromBus(bus_.name()); }

    LauncherEntryListener(const LauncherEntryListener&) = delete;
    LauncherEntryListener& operator=(const LauncherEntryListener&) = delete;

    // Each signal as "<app URI> <progress to two places or -> shown|hidden".
    std::vector<std::string> updates;

public slots:
    void Update(const QString& appUri, const QVariantMap& properties)
    {
        const QString progress =
            properties.contains(QStringLiteral("progress"))
                ? QString::number(properties.value(QStringLiteral("progress")).toDouble(), 'f', 2)
                : QStringLiteral("-");
        const bool visible = properties.value(QStringLiteral("progress-visible")).toBool();
        updates.push_back(
            QStringLiteral("%1 %2 %3")
                .arg(appUri, progress, visible ? QStringLiteral("shown") : QStringLiteral("hidden"))
                .toStdString());
    }

private:
    QDBusConnection bus_;
};

class PrivateSessionBus {
public:
    explicit PrivateSessionBus(const std::filesystem::path& folder)
    {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address"),
                       QStringLiteral("--address=unix:tmpdir=") + QString::fromStdString(folder.string())});
        EXPECT_TRUE(daemon_.waitForStarted()) << "dbus-daemon (package dbus-daemon) did not start";
        while (daemon_.state() == QProcess::Running && !daemon_.canReadLine())
            daemon_.waitForReadyRead(10000);
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        EXPECT_FALSE(address_.isEmpty()) << daemon_.readAllStandardError().toStdString();
        environment_.emplace("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
        listener_.emplace(address_);
    }
    ~PrivateSessionBus()
    {
        listener_.reset();
        environment_.reset();
        daemon_.terminate();
        daemon_.waitForFinished();
    }

    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    const std::vector<std::string>& Updates() const { return listener_->updates; }

private:
    QProcess daemon_;
    QString address_;
    std::optional<ScopedEnvironment> environment_;
    std::optional<LauncherEntryListener> listener_;
};

}  // namespace selvane::test
