// SPDX-License-Identifier: GPL-3.0-or-later

#include "caldavdiscovery.h"

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
           R"(<d:prop><c:calendar-home-set/></d:prop></d:propfind>)";
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
    for (const DavMultiStatus::Response &response : answer.responses) {
        for (const QString &href : response.calendarHomeHrefs) {
            if (const std::optional<QUrl> url = resolve(href, asked); url && !homes.contains(*url))
                homes.append(*url);
        }
    }
    return homes;
}

QList<TaskList> taskLists(const DavMultiStatus::MultiStatus &answer, const QUrl &asked)
{
    QList<TaskList> lists;
    for (const DavMultiStatus::Response &response : answer.responses) {
        if (!response.isCalendar || (response.components && !response.components->contains(QLatin1String("VTODO"))))
            continue;
        if (const std::optional<QUrl> url = resolve(response.href, asked)) {
            const QString name = response.displayName.isEmpty() ? url->fileName() : response.displayName;
            lists.append({ *url, name.isEmpty() ? url->path().section(QLatin1Char('/'), -2, -2) : name });
        }
    }
    return lists;
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() && defaultPort(a) == defaultPort(b);
}

} // namespace CalDavDiscovery
