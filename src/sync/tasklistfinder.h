// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "caldavdiscovery.h"

#include <QList>
#include <QObject>
#include <QUrl>

class DavHttp;
struct DavReply;

// Finds the person's task lists from the address they gave, one request after the other: the server's
// principal for that user, the principal's calendar home, the calendars there that take tasks. Many servers
// have no well-known address, and some answer no principal: the address as typed is then asked as the server,
// as a principal and as a calendar home, before the person is told what to type.
class TaskListFinder final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TaskListFinder)

public:
    TaskListFinder(DavHttp *http, QObject *parent = nullptr);

    void find(const QUrl &server);

signals:
    void found(const QUrl &home, const QList<CalDavDiscovery::TaskList> &lists);
    // `untrustedCertificate`: the fingerprint of the server's certificate where the system does not trust it.
    void failed(const QString &reason, const QString &untrustedCertificate);
    // Just before `failed`, when it is the user name or the password the server refused.
    void credentialsRefused();

private:
    enum class Step { Principal, Home, Lists };
    void ask(Step step, const QUrl &url, bool guess = false);
    void answered(const DavReply &reply);
    // The next way of reading the address as typed, or the failure telling what to type.
    void deadEnd(int status);

    DavHttp *m_http = nullptr;
    Step m_step = Step::Principal;
    QUrl m_typed;
    QUrl m_asked;
    // Whether the address asked is the one typed, read as the step's kind of address after a dead end.
    bool m_guess = false;
    QList<Step> m_guesses;
    QList<QUrl> m_scheduleBoxes;
    quint64 m_waiting = 0;
};
