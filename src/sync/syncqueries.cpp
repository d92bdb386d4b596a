// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncqueries.h"

namespace
{

const QByteArray TaskProps = "<d:prop><d:getetag/><c:calendar-data/></d:prop>";
const QByteArray Namespaces = "xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\"";

QByteArray escaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

namespace SyncQueries
{

QByteArray changesQuery(const QString &token)
{
    // After the first sync most changes are the panel's own writes coming back: their ETags tell them apart,
    // and only the others' tasks are fetched.
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:sync-collection " + Namespaces + "><d:sync-token>"
        + escaped(token) + "</d:sync-token><d:sync-level>1</d:sync-level>"
        + (token.isEmpty() ? TaskProps : QByteArray("<d:prop><d:getetag/></d:prop>")) + "</d:sync-collection>";
}

QByteArray etagsQuery()
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/>"
           "<d:resourcetype/></d:prop></d:propfind>";
}

QByteArray fetchQuery(const QStringList &hrefs)
{
    QByteArray body
        = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<c:calendar-multiget " + Namespaces + ">" + TaskProps;
    for (const QString &href : hrefs)
        body += "<d:href>" + escaped(QUrl(href).path(QUrl::FullyEncoded)) + "</d:href>";
    return body + "</c:calendar-multiget>";
}

DavRequest report(const QUrl &url, const QByteArray &depth, const QByteArray &body, const QByteArray &method)
{
    return { method, url, body, { { "Depth", depth }, { "Content-Type", "application/xml; charset=utf-8" } } };
}

} // namespace SyncQueries
