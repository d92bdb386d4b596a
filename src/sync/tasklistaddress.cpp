// SPDX-License-Identifier: GPL-3.0-or-later

#include "tasklistaddress.h"

#include "caldavdiscovery.h"

TaskListAddress::TaskListAddress(QUrl list)
    : m_url(std::move(list))
{
    if (!m_url.path().endsWith(QLatin1Char('/')))
        m_url.setPath(m_url.path() + QLatin1Char('/'));
}

std::optional<QString> TaskListAddress::member(const QString &href) const
{
    const QUrl url = m_url.resolved(QUrl(href));
    if (!url.isValid() || !CalDavDiscovery::sameOrigin(url, m_url) || url.path() == m_url.path()
        || url.path() + QLatin1Char('/') == m_url.path())
        return {};
    return url.toString(QUrl::FullyEncoded);
}

QString TaskListAddress::newTask(const QUuid &goal) const
{
    return m_url.resolved(QUrl(goal.toString(QUuid::WithoutBraces) + QStringLiteral(".ics")))
        .toString(QUrl::FullyEncoded);
}

QList<std::pair<QString, DavMultiStatus::Response>> TaskListAddress::tasksIn(
    const DavMultiStatus::MultiStatus &listing) const
{
    QList<std::pair<QString, DavMultiStatus::Response>> tasks;
    for (const DavMultiStatus::Response &response : listing.responses) {
        if (const std::optional<QString> href = member(response.href); href && !response.isCollection)
            tasks.append({ *href, response });
    }
    return tasks;
}
