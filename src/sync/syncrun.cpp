// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncrun.h"

#include "davmultistatus.h"
#include "heldbytask.h"
#include "syncmerge.h"
#include "syncqueries.h"
#include "vtodomapping.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>

using namespace SyncQueries;

namespace
{

// A task written again and again refused as outdated is left for the next sync.
constexpr int MaxAttempts = 3;

// A write of its own is worth a question for changes after it once more tasks were written than this: the
// next sync would otherwise hear of each of them again.
constexpr int ManyWrites = 10;

QString statusText(const DavReply &reply)
{
    return reply.status == 0 ? reply.error : QStringLiteral("HTTP %1").arg(reply.status);
}

// The failure in the person's words where it is one they can act on, else `otherwise` with the status.
QString reasonOf(const DavReply &reply, const char *otherwise)
{
    if (reply.status == 401)
        return QCoreApplication::translate("SyncRun", "The server did not accept the user name and password");
    return QCoreApplication::translate("SyncRun", otherwise).arg(statusText(reply));
}

} // namespace

SyncRun::SyncRun(const QUrl &taskList, const QList<TodoItem> &panel, const GoalsMerge::Deletions &deletions,
    const SyncState &state, const QDateTime &now)
    : m_taskList(taskList)
    , m_goals(panel)
    , m_deletions(deletions)
    , m_state(state)
    , m_now(now)
    , m_token(state.syncToken)
{
    for (const VTodoMapping::Task &task : SyncedTasks::of(state).shown)
        m_base.insert(task.goal.id, task.goal);
    QSet<QUuid> inPanel;
    for (const TodoItem &goal : panel)
        inPanel.insert(goal.id);
    for (const TodoItem &synced : std::as_const(m_base)) {
        if (!inPanel.contains(synced.id) && !m_deletions.contains(synced.id))
            m_deletions.insert(synced.id, lastChange(synced));
    }
}

QList<SyncRun::Request> SyncRun::start()
{
    return { changes(m_state.syncToken) };
}

SyncRun::Request SyncRun::send(const Waiting &waiting, DavRequest request)
{
    const quint64 tag = ++m_lastTag;
    m_waiting.insert(tag, waiting);
    return { tag, std::move(request) };
}

SyncRun::Request SyncRun::changes(const QString &token)
{
    return send({ Kind::Changes, {}, token }, report(m_taskList.url(), "0", changesQuery(token)));
}

void SyncRun::fail(const QString &reason)
{
    if (!m_failure)
        m_failure = reason;
}

QList<SyncRun::Request> SyncRun::answer(quint64 tag, const DavReply &reply)
{
    const auto found = m_waiting.constFind(tag);
    if (found == m_waiting.cend())
        return {};
    const Waiting waiting = *found;
    m_waiting.erase(found);
    switch (waiting.kind) {
    case Kind::Changes:
    case Kind::ETags:
    case Kind::Fetch:
        return pulled(waiting, reply);
    case Kind::PutNew:
    case Kind::PutChange:
    case Kind::Delete:
        return pushed(waiting, reply);
    case Kind::Refetch:
        return refetched(waiting, reply);
    case Kind::CatchUp:
        return caughtUp(reply);
    }
    return {};
}

QList<SyncRun::Request> SyncRun::pulled(const Waiting &waiting, const DavReply &reply)
{
    if (reply.status != 207) {
        // The token is refused: all tasks, from the start. Xandikos fails with a 500 on a token it no longer
        // knows, which would otherwise stop every sync for good; a server failing anyway fails once more.
        const bool refused = reply.status == 403 || reply.status == 409 || reply.status >= 500;
        if (waiting.kind == Kind::Changes && refused && !waiting.token.isEmpty())
            return { changes({}) };
        const bool noChangesReport = waiting.kind == Kind::Changes && reply.status >= 400 && reply.status < 500
            && reply.status != 401 && reply.status != 404;
        if (noChangesReport || (waiting.kind == Kind::Changes && reply.status == 501)) {
            m_token.clear();
            return { send({ Kind::ETags }, report(m_taskList.url(), "1", etagsQuery(), "PROPFIND")) };
        }
        if (reply.status == 404) // Each question is asked of the list itself.
            fail(QCoreApplication::translate("SyncRun", "The task list is no longer on the server"));
        else
            fail(reasonOf(reply, QT_TRANSLATE_NOOP("SyncRun", "The task list could not be read: %1")));
        return {};
    }
    const std::optional<DavMultiStatus::MultiStatus> answer = DavMultiStatus::read(reply.body);
    if (!answer) {
        fail(QCoreApplication::translate("SyncRun", "The server's answer could not be read"));
        return {};
    }
    // A listing of all tasks says which ones are gone by leaving them out.
    const bool whole = waiting.kind == Kind::ETags || (waiting.kind == Kind::Changes && waiting.token.isEmpty());
    const QStringList toFetch = m_state.takeListing(m_taskList.tasksIn(*answer), whole);
    if (waiting.kind == Kind::Changes)
        m_token = answer->syncToken;
    if (waiting.kind == Kind::Fetch || toFetch.isEmpty())
        return mergeAndPush();
    return { send({ Kind::Fetch }, report(m_taskList.url(), "1", fetchQuery(toFetch))) };
}

QList<SyncRun::Request> SyncRun::mergeAndPush()
{
    m_merged = true;
    m_state.syncToken = m_token;
    const SyncedTasks server = SyncedTasks::of(m_state);
    const SyncMerge::Merged merged = SyncMerge::merge(m_goals, m_base, server, m_deletions);
    m_goals = merged.goals;
    m_sortOrders = merged.sortOrders;

    QList<Request> requests;
    QSet<QUuid> kept;
    for (const TodoItem &goal : std::as_const(m_goals)) {
        kept.insert(goal.id);
        if (server.cancelled.contains(goal.id))
            continue; // Another client cancelled it: left alone.
        const auto task = server.shown.constFind(goal.id);
        if (task == server.shown.cend()) {
            const QString href = server.hrefs.value(goal.id, m_taskList.newTask(goal.id));
            if (const std::optional<Request> request = put(goal, href, 0))
                requests.append(*request);
        } else if (merged.changed.contains(goal.id) || m_sortOrders.contains(goal.id)) {
            if (const std::optional<Request> request = put(goal, server.hrefs.value(goal.id), 0))
                requests.append(*request);
        }
    }
    for (const VTodoMapping::Task &task : server.shown) {
        if (!kept.contains(task.goal.id))
            requests.append(remove(task.goal.id, server.hrefs.value(task.goal.id), 0));
    }
    return requests;
}

std::optional<SyncRun::Request> SyncRun::put(const TodoItem &goal, const QString &href, int attempt)
{
    const auto known = m_state.tasks.constFind(href);
    const bool isNew = known == m_state.tasks.cend();
    const std::optional<QByteArray> written
        = VTodoMapping::write(goal, m_now, isNew ? QByteArray() : known->calendarData,
            m_sortOrders.contains(goal.id) ? std::optional(m_sortOrders.value(goal.id)) : std::nullopt);
    if (!written) {
        fail(QCoreApplication::translate("SyncRun", "A goal could not be written as a task"));
        return {};
    }
    DavRequest request { "PUT", QUrl(href), *written, { { "Content-Type", "text/calendar; charset=utf-8" } } };
    request.headers.append(isNew ? std::pair<QByteArray, QByteArray>("If-None-Match", "*")
                                 : std::pair<QByteArray, QByteArray>("If-Match", known->etag));
    return send({ isNew ? Kind::PutNew : Kind::PutChange, href, {}, goal.id, *written, attempt }, std::move(request));
}

SyncRun::Request SyncRun::remove(const QUuid &goal, const QString &href, int attempt)
{
    return send({ Kind::Delete, href, {}, goal, {}, attempt },
        { "DELETE", QUrl(href), {}, { { "If-Match", m_state.tasks.value(href).etag } } });
}

QList<SyncRun::Request> SyncRun::caughtUp()
{
    // The last write answered: a question for changes once more hears of this sync's own writes now, not at
    // the next sync, and takes their token where nobody else wrote meanwhile.
    if (!m_waiting.isEmpty() || m_written <= ManyWrites || m_failure || m_state.syncToken.isEmpty())
        return {};
    m_written = 0;
    return { send(
        { Kind::CatchUp, {}, m_state.syncToken }, report(m_taskList.url(), "0", changesQuery(m_state.syncToken))) };
}

QList<SyncRun::Request> SyncRun::caughtUp(const DavReply &reply)
{
    const std::optional<DavMultiStatus::MultiStatus> answer
        = reply.status == 207 ? DavMultiStatus::read(reply.body) : std::nullopt;
    // Another client's change: the next sync asks from the earlier token.
    if (!answer || answer->syncToken.isEmpty() || !m_state.holdsAll(m_taskList.tasksIn(*answer)))
        return {};
    m_state.syncToken = answer->syncToken;
    return {};
}

QList<SyncRun::Request> SyncRun::pushed(const Waiting &waiting, const DavReply &reply)
{
    if (reply.status >= 200 && reply.status < 300) {
        if (waiting.kind == Kind::Delete)
            m_state.tasks.remove(waiting.href);
        else
            m_state.tasks.insert(waiting.href, { reply.etag, waiting.written });
        ++m_written;
        return caughtUp();
    }
    if (reply.status == 404 && waiting.kind == Kind::Delete) {
        m_state.tasks.remove(waiting.href);
        return caughtUp();
    }
    // Another client wrote it since: what it holds now decides again.
    if (reply.status == 412 || (reply.status == 404 && waiting.kind == Kind::PutChange)) {
        if (waiting.attempt + 1 >= MaxAttempts) {
            fail(QCoreApplication::translate("SyncRun", "A task kept changing on the server while it was written"));
            return {};
        }
        Waiting refetch = waiting;
        refetch.kind = Kind::Refetch;
        refetch.attempt = waiting.attempt + 1;
        return { send(refetch, { "GET", QUrl(waiting.href), {}, {} }) };
    }
    fail(reasonOf(reply, QT_TRANSLATE_NOOP("SyncRun", "The server refused a change: %1")));
    return {};
}

QList<SyncRun::Request> SyncRun::refetched(const Waiting &waiting, const DavReply &reply)
{
    if (reply.status == 404) {
        m_state.tasks.remove(waiting.href);
    } else if (reply.status == 200) {
        m_state.tasks.insert(waiting.href, { reply.etag, reply.body });
    } else {
        fail(reasonOf(reply, QT_TRANSLATE_NOOP("SyncRun", "A task could not be fetched: %1")));
        return {};
    }
    const std::optional<VTodoMapping::Task> task = reply.status == 200 ? VTodoMapping::read(reply.body) : std::nullopt;
    if (task && task->cancelled)
        return {};
    const auto inPanel
        = std::find_if(m_goals.begin(), m_goals.end(), [&](const TodoItem &goal) { return goal.id == waiting.goal; });
    const auto synced = m_base.constFind(waiting.goal);

    if (!task) {
        // Gone from the server: a goal changed here since the last sync is written anew, else it goes too.
        if (inPanel == m_goals.end())
            return {};
        if (synced != m_base.cend() && !HeldByTask::changedSince(*inPanel, *synced)) {
            m_goals.erase(inPanel);
            return {};
        }
        const std::optional<Request> request = put(*inPanel, waiting.href, waiting.attempt);
        return request ? QList<Request> { *request } : QList<Request> {};
    }

    const std::optional<TodoItem> merged = SyncMerge::mergeTask(inPanel == m_goals.end() ? nullptr : &*inPanel,
        task->goal, synced == m_base.cend() ? nullptr : &*synced, m_deletions);
    if (!merged)
        return { remove(waiting.goal, waiting.href, waiting.attempt) };
    TodoItem goal = *merged;
    if (inPanel != m_goals.end()) {
        goal.order = inPanel->order;
        // The server's version won: the panel's number for it goes with the panel's version.
        if (!HeldByTask::changedSince(*inPanel, goal))
            goal = *inPanel;
        else
            m_sortOrders.remove(goal.id);
        *inPanel = goal;
    } else {
        // Back from the server, at the end: the next sync places it as the server has it.
        goal.order = m_goals.size();
        m_goals.append(goal);
    }
    const std::optional<qint64> sortOrder
        = m_sortOrders.contains(goal.id) ? std::optional(m_sortOrders.value(goal.id)) : std::nullopt;
    if (!HeldByTask::changedSince(goal, task->goal) && (!sortOrder || sortOrder == task->sortOrder))
        return caughtUp();
    const std::optional<Request> request = put(goal, waiting.href, waiting.attempt);
    return request ? QList<Request> { *request } : QList<Request> {};
}
