// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "calendaraccount.h"
#include "sync/caldavdiscovery.h"

#include <QList>
#include <QObject>
#include <QUrl>

class DavHttp;
class QSettings;

// Connecting a task list on a calendar server, one step after the other, for the dialog and for
// `mirel --connect-calendar` alike: the person's task lists found from the address they gave, then the one
// chosen (or one made for the goals) kept, the password in the keyring and the rest in the preferences. Each
// step ends in a signal; what is asked of the server and the keyring stops with stop(), a new search or the
// object's end.
class CalendarConnecting final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarConnecting)

public:
    explicit CalendarConnecting(QSettings *preferences, QObject *parent = nullptr);

    // Ends in listsFound or failed, which may come before this returns.
    void findLists(const QUrl &server, const QString &user, const QString &password, const QString &trustedCertificate);
    // After listsFound: keeps the connection to one of them; ends in connected.
    void connectList(const CalDavDiscovery::TaskList &list);
    // After listsFound: makes a list of that name in the person's calendar home and connects it; ends in
    // connected or listNotMade.
    void makeListThenConnect(const QString &name);
    void stop();

signals:
    void listsFound(const QList<CalDavDiscovery::TaskList> &lists);
    // Why the server cannot be asked, cannot be reached or refused, in the person's words;
    // `untrustedCertificate` the fingerprint of the server's certificate where the system does not trust it.
    void failed(const QString &reason, const QString &untrustedCertificate);
    // Just before `failed`, when it is the user name or the password the server refused.
    void credentialsRefused();
    void listNotMade(const QString &name, const QString &reason);
    // The connection is in the preferences. `keyringFailure`: why the keyring did not keep `password` (none on
    // this desktop, locked, its prompt cancelled), empty when it did.
    void connected(const CalendarAccount &account, const QString &password, const QString &keyringFailure);

private:
    QSettings *m_preferences = nullptr;
    // What is asked of the server and the keyring goes with it.
    DavHttp *m_http = nullptr;
    QUrl m_server;
    QString m_user;
    QString m_password;
    QString m_trustedCertificate;
    QUrl m_home;
};
