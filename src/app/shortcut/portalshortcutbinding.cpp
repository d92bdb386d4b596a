// SPDX-License-Identifier: GPL-3.0-or-later

#include "portalshortcutbinding.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QRandomGenerator>

#include <utility>

namespace
{

constexpr char Service[] = "org.freedesktop.portal.Desktop";
constexpr char DesktopPath[] = "/org/freedesktop/portal/desktop";
constexpr char Interface[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char ShortcutId[] = "new-goal";
// Kept from run to run: the desktop files the binding under the session's token.
constexpr char SessionToken[] = "mirel";
// A portal answers at once unless it asks the person; a dialog the person leaves open is no failure.
constexpr int AnswerTimeoutMs = 120'000;

// One entry of the portal's a(sa{sv}) list of shortcuts.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace

Q_DECLARE_METATYPE(PortalShortcut)

PortalShortcutBinding::PortalShortcutBinding(
    const QString &preferredTrigger, const QString &description, PortalShortcutModule::Handlers handlers)
    : m_handlers(std::move(handlers))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        // Told once the one who asked holds the binding.
        QTimer::singleShot(0, this, [this] { fail(tr("there is no session bus")); });
        return;
    }
    m_answerTimeout.setSingleShot(true);
    m_answerTimeout.setInterval(AnswerTimeoutMs);
    connect(&m_answerTimeout, &QTimer::timeout, this, [this] { fail(tr("the desktop portal did not answer")); });

    // Taken as the whole message: QtDBus 6.4 refuses a slot typed as the signal (o, s, t, a{sv}).
    bus.connect(QLatin1StringView(Service), QLatin1StringView(DesktopPath), QLatin1StringView(Interface),
        QStringLiteral("Activated"), this, SLOT(takeActivation(QDBusMessage)));

    // The answer comes as a signal on a request object named after the caller and the token; listened for
    // before the call, so that it cannot come first.
    const QString handleToken = QStringLiteral("mirel%1").arg(QRandomGenerator::global()->generate());
    const QString sender = bus.baseService().mid(1).replace(u'.', u'_');
    listenForResponse(QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, handleToken));

    const QList<PortalShortcut> shortcuts { { QString::fromLatin1(ShortcutId),
        { { QStringLiteral("description"), description },
            { QStringLiteral("preferred_trigger"), preferredTrigger } } } };
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1StringView(Service), QLatin1StringView(DesktopPath),
        QLatin1StringView(Interface), QStringLiteral("CreateSession"));
    call << QVariantMap { { QStringLiteral("handle_token"), handleToken },
        { QStringLiteral("session_handle_token"), QString::fromLatin1(SessionToken) },
        { QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts) } };
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        if (reply.isError()) {
            fail(tr("the desktop portal offers no global shortcuts here (%1)").arg(reply.error().message()));
            return;
        }
        // A portal older than the request naming answers on a path of its own choosing.
        if (reply.value().path() != m_requestPath)
            listenForResponse(reply.value().path());
    });
    m_answerTimeout.start();
}

PortalShortcutBinding::~PortalShortcutBinding()
{
    if (m_session.isEmpty())
        return;
    QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(QLatin1StringView(Service), m_session,
        QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
}

void PortalShortcutBinding::listenForResponse(const QString &requestPath)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!m_requestPath.isEmpty())
        bus.disconnect(QLatin1StringView(Service), m_requestPath, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"), this, SLOT(takeResponse(uint, QVariantMap)));
    m_requestPath = requestPath;
    bus.connect(QLatin1StringView(Service), m_requestPath, QStringLiteral("org.freedesktop.portal.Request"),
        QStringLiteral("Response"), this, SLOT(takeResponse(uint, QVariantMap)));
}

void PortalShortcutBinding::takeResponse(uint response, const QVariantMap &results)
{
    if (!m_answerTimeout.isActive())
        return;
    m_answerTimeout.stop();
    if (response != 0) {
        fail(response == 1 ? tr("the shortcut was declined") : tr("the desktop portal refused the shortcut"));
        return;
    }
    m_session = results.value(QStringLiteral("session_handle")).toString();
    QString trigger;
    const QList<PortalShortcut> bound
        = qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")).value<QDBusArgument>());
    for (const PortalShortcut &shortcut : bound) {
        if (shortcut.id == QLatin1StringView(ShortcutId))
            trigger = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    }
    m_handlers.bound(trigger);
}

void PortalShortcutBinding::takeActivation(const QDBusMessage &signal)
{
    const QList<QVariant> arguments = signal.arguments();
    if (m_session.isEmpty() || arguments.size() < 2)
        return;
    if (arguments.at(0).value<QDBusObjectPath>().path() == m_session
        && arguments.at(1).toString() == QLatin1StringView(ShortcutId))
        m_handlers.activated();
}

void PortalShortcutBinding::fail(const QString &failure)
{
    m_answerTimeout.stop();
    m_handlers.failed(failure);
}
