// SPDX-License-Identifier: GPL-3.0-or-later

#include "newtasklist.h"

#include <QCoreApplication>
#include <QUuid>

namespace NewTaskList
{

DavRequest request(const QUrl &home, const QString &displayName)
{
    QUrl url = home;
    QString path = url.path();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    url.setPath(path + QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('/'));
    const QByteArray body = R"(<?xml version="1.0" encoding="utf-8"?>)"
                            R"(<c:mkcalendar xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:set><d:prop>)"
                            "<d:displayname>"
        + displayName.toHtmlEscaped().toUtf8()
        + "</d:displayname>"
          R"(<c:supported-calendar-component-set><c:comp name="VTODO"/></c:supported-calendar-component-set>)"
          "</d:prop></d:set></c:mkcalendar>";
    return { "MKCALENDAR", url, body, { { "Content-Type", "application/xml; charset=utf-8" } } };
}

std::optional<QString> refusal(const DavReply &reply)
{
    // Some servers answer 201 yet ignore the component set; such a list takes tasks among the rest, which is
    // enough, so only the status decides.
    if (reply.status >= 200 && reply.status < 300)
        return {};
    if (reply.status == 0)
        return reply.error;
    if (reply.status == 401)
        return QCoreApplication::translate("NewTaskList", "The server did not accept the user name and password");
    if (reply.status == 403 || reply.status == 405)
        return QCoreApplication::translate("NewTaskList", "The server does not let this account make a task list");
    return QCoreApplication::translate("NewTaskList", "The server did not make the task list: HTTP %1")
        .arg(reply.status);
}

} // namespace NewTaskList
