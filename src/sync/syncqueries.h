// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "davhttp.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

// The bodies of a sync's requests to the task list, each asking for the tasks' ETags and calendar data.
namespace SyncQueries
{

// The changes since the sync token (RFC 6578 sync-collection).
QByteArray changesQuery(const QString &token);
// Every member's ETag, for a server without sync tokens.
QByteArray etagsQuery();
// The tasks at these addresses (calendar-multiget).
QByteArray fetchQuery(const QStringList &hrefs);
// The request carrying one of them.
DavRequest report(
    const QUrl &url, const QByteArray &depth, const QByteArray &body, const QByteArray &method = "REPORT");

} // namespace SyncQueries
