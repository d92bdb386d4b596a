// SPDX-License-Identifier: GPL-3.0-or-later

#include "tasklistfinder.h"

#include "davhttp.h"
#include "davmultistatus.h"

TaskListFinder::TaskListFinder(DavHttp *http, QObject *parent)
    : QObject(parent)
    , m_http(http)
{
    connect(m_http, &DavHttp::finished, this, [this](quint64 id, const DavReply &reply) {
        if (id == m_waiting)
            answered(reply);
    });
}

void TaskListFinder::find(const QUrl &server)
{
    ask(Step::Principal, CalDavDiscovery::startUrl(server));
}

void TaskListFinder::ask(Step step, const QUrl &url)
{
    m_step = step;
    m_asked = url;
    const QByteArray body = step == Step::Principal ? CalDavDiscovery::principalQuery()
        : step == Step::Home                        ? CalDavDiscovery::homeSetQuery()
                                                    : CalDavDiscovery::taskListsQuery();
    m_waiting = m_http->send({ "PROPFIND", url, body,
        { { "Depth", step == Step::Lists ? "1" : "0" }, { "Content-Type", "application/xml; charset=utf-8" } } });
}

void TaskListFinder::answered(const DavReply &reply)
{
    if (reply.status == 401) {
        emit credentialsRefused();
        emit failed(tr("The server did not accept the user name and password"), {});
        return;
    }
    if (reply.status != 207) {
        emit failed(reply.status == 0 ? reply.error
                                      : tr("The server at %1 is no calendar server (HTTP %2)")
                                            .arg(m_asked.toDisplayString(QUrl::RemoveUserInfo))
                                            .arg(reply.status),
            reply.untrustedCertificate);
        return;
    }
    const DavMultiStatus::MultiStatus answer
        = DavMultiStatus::read(reply.body).value_or(DavMultiStatus::MultiStatus {});
    switch (m_step) {
    case Step::Principal:
        if (const std::optional<QUrl> principal = CalDavDiscovery::principal(answer, m_asked))
            ask(Step::Home, *principal);
        else
            emit failed(tr("The server does not say where this user's calendars are"), {});
        return;
    case Step::Home:
        if (const QList<QUrl> homes = CalDavDiscovery::homeSets(answer, m_asked); !homes.isEmpty())
            ask(Step::Lists, homes.constFirst());
        else
            emit failed(tr("The server has no calendars for this user"), {});
        return;
    case Step::Lists:
        emit found(m_asked, CalDavDiscovery::taskLists(answer, m_asked));
        return;
    }
}
