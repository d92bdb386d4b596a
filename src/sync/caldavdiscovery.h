// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "davmultistatus.h"

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <optional>

// The steps that find a person's task lists from a server's address: its well-known address, the current user's
// principal, the principal's calendar home, and the calendars there that take tasks. Each step is a request
// body and a reading of its answer; the answers' addresses are resolved against the one asked, and any on
// another origin is dropped, since the person's credentials go only to the server they named.
namespace CalDavDiscovery
{

struct TaskList {
    QUrl url;
    QString displayName;
};

// The server's /.well-known/caldav; an address with a path of its own is asked as it is.
QUrl startUrl(const QUrl &server);

// PROPFIND bodies: the first two with Depth 0, the last with Depth 1 on the calendar home.
QByteArray principalQuery();
// The principal's calendar home, and its scheduling inbox and outbox.
QByteArray homeSetQuery();
QByteArray taskListsQuery();

std::optional<QUrl> principal(const DavMultiStatus::MultiStatus &answer, const QUrl &asked);
QList<QUrl> homeSets(const DavMultiStatus::MultiStatus &answer, const QUrl &asked);
QList<QUrl> scheduleBoxes(const DavMultiStatus::MultiStatus &answer, const QUrl &asked);
// Calendars that take tasks: VTODO among their components, or no components named (which means any). Never a
// scheduling inbox or outbox, whether typed as one or only named so by the principal: servers that type theirs
// as plain calendars taking every component would otherwise offer them as lists.
QList<TaskList> taskLists(
    const DavMultiStatus::MultiStatus &answer, const QUrl &asked, const QList<QUrl> &scheduleBoxes = {});
// Whether the collection asked holds calendars, as a calendar home does.
bool holdsCalendars(const DavMultiStatus::MultiStatus &answer);

// Scheme, host and port alike.
bool sameOrigin(const QUrl &a, const QUrl &b);

} // namespace CalDavDiscovery
