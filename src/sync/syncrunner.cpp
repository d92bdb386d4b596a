// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncrunner.h"

#include "davhttp.h"

namespace
{

constexpr qsizetype MaxRequestsAtOnce = 4;

} // namespace

SyncRunner::SyncRunner(DavHttp *http, const SyncRun &run, QObject *parent)
    : QObject(parent)
    , m_http(http)
    , m_run(run)
{
    connect(m_http, &DavHttp::finished, this, [this](quint64 id, const DavReply &reply) {
        const auto sent = m_sent.constFind(id);
        if (sent == m_sent.cend())
            return;
        const quint64 tag = *sent;
        m_sent.erase(sent);
        const bool mergedBefore = m_run.merged();
        m_queued += m_run.answer(tag, reply);
        if (!mergedBefore && m_run.merged() && !m_run.finished())
            emit merged(m_run.goals());
        sendWhatFits();
    });
}

void SyncRunner::start()
{
    m_queued = m_run.start();
    sendWhatFits();
}

void SyncRunner::sendWhatFits()
{
    while (!m_queued.isEmpty() && m_sent.size() < MaxRequestsAtOnce) {
        const SyncRun::Request next = m_queued.takeFirst();
        m_sent.insert(m_http->send(next.request), next.tag);
    }
    if (m_sent.isEmpty() && m_run.finished())
        emit finished(m_run.goals(), m_run.state(), m_run.failure());
}
