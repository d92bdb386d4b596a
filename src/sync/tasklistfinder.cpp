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
    m_typed = server;
    m_scheduleBoxes.clear();
    m_guesses = { Step::Home, Step::Lists };
    const QUrl start = CalDavDiscovery::startUrl(server);
    if (start != server)
        m_guesses.prepend(Step::Principal);
    ask(Step::Principal, start);
}

void TaskListFinder::ask(Step step, const QUrl &url, bool guess)
{
    m_step = step;
    m_asked = url;
    m_guess = guess;
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
    if (reply.status == 0) {
        emit failed(reply.error, reply.untrustedCertificate);
        return;
    }
    const std::optional<DavMultiStatus::MultiStatus> answer
        = reply.status == 207 ? DavMultiStatus::read(reply.body) : std::nullopt;
    if (!answer) {
        deadEnd(reply.status);
        return;
    }
    switch (m_step) {
    case Step::Principal:
        if (const std::optional<QUrl> principal = CalDavDiscovery::principal(*answer, m_asked))
            ask(Step::Home, *principal);
        else
            deadEnd(reply.status);
        return;
    case Step::Home:
        m_scheduleBoxes = CalDavDiscovery::scheduleBoxes(*answer, m_asked);
        if (const QList<QUrl> homes = CalDavDiscovery::homeSets(*answer, m_asked); !homes.isEmpty())
            ask(Step::Lists, homes.constFirst());
        else if (m_guess)
            deadEnd(reply.status);
        else
            emit failed(tr("The server has no calendars for this user"), {});
        return;
    case Step::Lists:
        if (m_guess && !CalDavDiscovery::holdsCalendars(*answer))
            deadEnd(reply.status);
        else
            emit found(m_asked, CalDavDiscovery::taskLists(*answer, m_asked, m_scheduleBoxes));
        return;
    }
}

void TaskListFinder::deadEnd(int status)
{
    if (!m_guesses.isEmpty()) {
        ask(m_guesses.takeFirst(), m_typed, true);
        return;
    }
    emit failed(tr("No calendar server answers at %1 (HTTP %2). Type the address your server gives for calendar "
                   "programs, for example …/remote.php/dav for Nextcloud, …/SOGo/dav/ for SOGo, …/dav.php for "
                   "Baïkal or …/caldav.php for DAViCal")
                    .arg(m_typed.toDisplayString(QUrl::RemoveUserInfo))
                    .arg(status),
        {});
}
