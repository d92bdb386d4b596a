// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The body of a WebDAV multistatus answer (PROPFIND, a calendar query, a sync-collection report), with what the
// calendar sync reads from it. Only properties the server reports found (a 2xx propstat) are filled in.
namespace DavMultiStatus
{

struct Response {
    // As the server wrote it; resolve it against the request's URL.
    QString href;
    // The response's own status, where it gives one (a member removed since a sync token reports 404); else 0.
    int status = 0;
    // Quoted as the server sent it, as If-Match wants it back.
    QString etag;
    QByteArray calendarData;
    QString displayName;
    bool isCollection = false;
    bool isCalendar = false;
    // A scheduling inbox or outbox, which some servers also type as a calendar.
    bool isScheduleBox = false;
    // The components a calendar collection takes; nothing when it does not say, which means any.
    std::optional<QStringList> components;
    QString principalHref;
    QStringList calendarHomeHrefs;
    // A principal's scheduling inbox and outbox.
    QStringList scheduleBoxHrefs;
    QString syncToken;
};

struct MultiStatus {
    QList<Response> responses;
    // The token a sync-collection report ends with.
    QString syncToken;
};

// Nothing for a body that is not a well-formed multistatus, or that carries a document type declaration: the
// entities one declares could expand a small answer into a huge one.
std::optional<MultiStatus> read(const QByteArray &body);

} // namespace DavMultiStatus
