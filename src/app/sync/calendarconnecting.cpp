// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarconnecting.h"

#include "calendarsecret.h"
#include "sync/davhttp.h"
#include "sync/newtasklist.h"
#include "sync/tasklistfinder.h"

#include <memory>

CalendarConnecting::CalendarConnecting(QSettings *preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
{
}

void CalendarConnecting::findLists(
    const QUrl &server, const QString &user, const QString &password, const QString &trustedCertificate)
{
    stop();
    if (const std::optional<QString> refusal = DavHttp::refusal(server)) {
        emit failed(*refusal, {});
        return;
    }
    m_server = server;
    m_user = user;
    m_password = password;
    m_trustedCertificate = trustedCertificate;
    m_http = new DavHttp(user, password, {}, this);
    if (!trustedCertificate.isEmpty())
        m_http->setPinnedCertificate(trustedCertificate);
    auto *finder = new TaskListFinder(m_http, m_http);
    connect(finder, &TaskListFinder::credentialsRefused, this, &CalendarConnecting::credentialsRefused);
    connect(finder, &TaskListFinder::failed, this, &CalendarConnecting::failed);
    connect(
        finder, &TaskListFinder::found, this, [this](const QUrl &home, const QList<CalDavDiscovery::TaskList> &lists) {
            m_home = home;
            emit listsFound(lists);
        });
    finder->find(server);
}

void CalendarConnecting::connectList(const CalDavDiscovery::TaskList &list)
{
    const CalendarAccount account { m_server, list.url, list.displayName, m_user, m_trustedCertificate };
    CalendarSecret::write(account.secretKey(), m_password, m_http,
        [this, account, password = m_password](const CalendarSecret::Outcome &outcome) {
            account.write(*m_preferences);
            emit connected(account, password, outcome.failure);
        });
}

void CalendarConnecting::makeListThenConnect(const QString &name)
{
    const DavRequest request = NewTaskList::request(m_home, name);
    const quint64 sent = m_http->send(request);
    // Once per try: a second try must not find the first one's handler still listening.
    auto answered = std::make_shared<QMetaObject::Connection>();
    *answered = connect(
        m_http, &DavHttp::finished, this, [this, sent, request, name, answered](quint64 id, const DavReply &reply) {
            if (id != sent)
                return;
            disconnect(*answered);
            if (const std::optional<QString> refusal = NewTaskList::refusal(reply))
                emit listNotMade(name, *refusal);
            else
                connectList({ request.url, name });
        });
}

void CalendarConnecting::stop()
{
    delete m_http;
    m_http = nullptr;
}
