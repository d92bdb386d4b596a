// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "portalshortcutmodule.h"

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>

// The new-goal shortcut through the desktop portal's GlobalShortcuts interface. The session's token is the same
// from run to run, so the desktop keeps the person's binding for it. The shortcut is offered when the session is
// made, where KDE Plasma 5.27's portal reads it (its BindShortcuts only opens the system settings); its id never
// changes, as that portal ends itself on a session that leaves out an id it bound before.
class PortalShortcutBinding final : public QObject, public PortalShortcutModule::Binding
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PortalShortcutBinding)

public:
    PortalShortcutBinding(
        const QString &preferredTrigger, const QString &description, PortalShortcutModule::Handlers handlers);
    ~PortalShortcutBinding() override;

private slots:
    // By name, as QtDBus connects signals only to slots.
    void takeResponse(uint response, const QVariantMap &results);
    void takeActivation(const QDBusMessage &signal);

private:
    void listenForResponse(const QString &requestPath);
    void fail(const QString &failure);

    PortalShortcutModule::Handlers m_handlers;
    QString m_requestPath;
    QString m_session;
    QTimer m_answerTimeout;
};
