// SPDX-License-Identifier: GPL-3.0-or-later

#include "desktopnotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

namespace
{

constexpr auto Service = "org.freedesktop.Notifications";
constexpr auto Path = "/org/freedesktop/Notifications";
// The command exits right after: a notification it did not wait for may never reach the service, and a
// service that hangs must not hold up the shortcut for long.
constexpr int DeliveryTimeoutMs = 2000;
// The service's own default for how long it shows the message.
constexpr int DefaultExpiry = -1;
// A day's reminders and then some.
constexpr qsizetype MessagesWaitedOn = 100;

// Without an address or the session's bus socket, the D-Bus library would try to launch a bus of its own.
bool hasSessionBus()
{
    return !qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")
        || QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus"));
}

QDBusMessage notifyCall(const QString &summary, const QString &body, const QStringList &actions)
{
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QLatin1StringView(Service), QLatin1StringView(Path), QLatin1StringView(Service), QStringLiteral("Notify"));
    notify << QStringLiteral("Mirel") << 0u << QStringLiteral("mirel") << summary << body << actions << QVariantMap()
           << DefaultExpiry;
    return notify;
}

// The service tells every client of every action chosen; each message shown with actions is waited on here for as
// long as its context lives. A closed message stays waited on: a service such as dunst shows it again from its
// history, where its actions still work.
class ActionListener final : public QObject
{
    Q_OBJECT

public:
    struct Waiting {
        QPointer<QObject> context;
        std::function<void(const QString &)> onAction;
    };

    explicit ActionListener(QDBusConnection bus)
    {
        // From any sender: the service's name may move to another daemon while the panel runs. D-Bus finds its
        // receivers by their slots' signatures only.
        bus.connect(QString(), QLatin1StringView(Path), QLatin1StringView(Service), QStringLiteral("ActionInvoked"),
            this, SLOT(actionInvoked(uint, QString)));
    }

    void wait(uint id, Waiting waiting)
    {
        m_waiting.insert(id, std::move(waiting));
        m_order.append(id);
        if (m_order.size() > MessagesWaitedOn)
            m_waiting.remove(m_order.takeFirst());
    }

public slots:
    void actionInvoked(uint id, const QString &key)
    {
        const Waiting waiting = m_waiting.value(id);
        if (waiting.context && waiting.onAction)
            waiting.onAction(key);
    }

private:
    QHash<uint, Waiting> m_waiting;
    QList<uint> m_order;
};

} // namespace

namespace DesktopNotification
{

void show(const QString &summary, const QString &body)
{
    if (!hasSessionBus())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.call(notifyCall(summary, body, {}), QDBus::Block, DeliveryTimeoutMs);
}

void showWithActions(const QString &summary, const QString &body, const QStringList &actions, QObject *context,
    std::function<void(const QString &key)> onAction, std::function<void(const QString &error)> onFailed)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!hasSessionBus() || !bus.isConnected()) {
        onFailed(QStringLiteral("no session bus"));
        return;
    }
    static ActionListener *const listener = new ActionListener(bus);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(notifyCall(summary, body, actions)), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
        [watcher, context, onAction = std::move(onAction), onFailed = std::move(onFailed)] {
            watcher->deleteLater();
            const QDBusPendingReply<uint> reply = *watcher;
            if (reply.isError())
                onFailed(reply.error().message());
            else
                listener->wait(reply.value(), { context, onAction });
        });
}

} // namespace DesktopNotification

#include "desktopnotification.moc"
