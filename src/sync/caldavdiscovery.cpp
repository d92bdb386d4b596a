// SPDX-License-Identifier: GPL-3.0-or-later

#include "caldavdiscovery.h"

#include <algorithm>

namespace
{

constexpr char WellKnownPath[] = "/.well-known/caldav";

int defaultPort(const QUrl &url)
{
    return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
}

std::optional<QUrl> resolve(const QString &href, const QUrl &asked)
{
    if (href.isEmpty())
        return {};
    const QUrl url = asked.resolved(QUrl(href));
    if (!url.isValid() || !CalDavDiscovery::sameOrigin(url, asked))
        return {};
    return url;
}

QString withSlash(QString path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

bool isAmong(const QUrl &url, const QList<QUrl> &collections)
{
    return std::any_of(collections.cbegin(), collections.cend(), [&](const QUrl &collection) {
        return CalDavDiscovery::sameOrigin(url, collection) && withSlash(url.path()) == withSlash(collection.path());
    });
}

QList<QUrl> resolvedAll(const QStringList &hrefs, const QUrl &asked, QList<QUrl> into)
{
    for (const QString &href : hrefs) {
        if (const std::optional<QUrl> url = resolve(href, asked); url && !into.contains(*url))
            into.append(*url);
    }
    return into;
}

} // namespace

namespace CalDavDiscovery
{

QUrl startUrl(const QUrl &server)
{
    if (!server.path().isEmpty() && server.path() != QLatin1String("/"))
        return server;
    QUrl url = server;
    url.setPath(QString::fromLatin1(WellKnownPath));
    return url;
}

QByteArray principalQuery()
{
    return R"(<?xml version="1.0" encoding="utf-8"?>)"
           R"(<d:propfind xmlns:d="DAV:"><d:prop><d:current-user-principal/></d:prop></d:propfind>)";
}

QByteArray homeSetQuery()
{
    return R"(<?xml version="1.0" encoding="utf-8"?>)"
           R"(<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">)"
           R"(<d:prop><c:calendar-home-set/><c:schedule-inbox-URL/><c:schedule-outbox-URL/></d:prop></d:propfind>)";
}

QByteArray taskListsQuery()
{
    return R"(<?xml version="1.0" encoding="utf-8"?>)"
           R"(<d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav">)"
           R"(<d:prop><d:resourcetype/><d:displayname/><c:supported-calendar-component-set/></d:prop></d:propfind>)";
}

std::optional<QUrl> principal(const DavMultiStatus::MultiStatus &answer, const QUrl &asked)
{
    for (const DavMultiStatus::Response &response : answer.responses) {
        if (const std::optional<QUrl> url = resolve(response.principalHref, asked))
            return url;
    }
    return {};
}

QList<QUrl> homeSets(const DavMultiStatus::MultiStatus &answer, const QUrl &asked)
{
    QList<QUrl> homes;
    for (const DavMultiStatus::Response &response : answer.responses)
        homes = resolvedAll(response.calendarHomeHrefs, asked, homes);
    return homes;
}

QList<QUrl> scheduleBoxes(const DavMultiStatus::MultiStatus &answer, const QUrl &asked)
{
    QList<QUrl> boxes;
    for (const DavMultiStatus::Response &response : answer.responses)
        boxes = resolvedAll(response.scheduleBoxHrefs, asked, boxes);
    return boxes;
}

QList<TaskList> taskLists(
    const DavMultiStatus::MultiStatus &answer, const QUrl &asked, const QList<QUrl> &scheduleBoxes)
{
    QList<TaskList> lists;
    for (const DavMultiStatus::Response &response : answer.responses) {
        if (!response.isCalendar || response.isScheduleBox
            || (response.components && !response.components->contains(QLatin1String("VTODO"))))
            continue;
        if (const std::optional<QUrl> url = resolve(response.href, asked); url && !isAmong(*url, scheduleBoxes)) {
            const QString name = response.displayName.isEmpty() ? url->fileName() : response.displayName;
            lists.append({ *url, name.isEmpty() ? url->path().section(QLatin1Char('/'), -2, -2) : name });
        }
    }
    return lists;
}

bool holdsCalendars(const DavMultiStatus::MultiStatus &answer)
{
    return std::any_of(answer.responses.cbegin(), answer.responses.cend(),
        [](const DavMultiStatus::Response &response) { return response.isCalendar || response.isScheduleBox; });
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() && defaultPort(a) == defaultPort(b);
}

} // namespace CalDavDiscovery
