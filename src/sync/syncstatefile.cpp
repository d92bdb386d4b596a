// SPDX-License-Identifier: GPL-3.0-or-later

#include "syncstatefile.h"

#include "model/diskfile.h"
#include "model/goalshistory.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace
{

// Far above the tasks of any day's list, with other clients' descriptions and alarms.
constexpr qint64 MaxSize = 64 * 1024 * 1024;

} // namespace

namespace SyncStateFile
{

QString path()
{
    return GoalsHistory::defaultFolder() + QStringLiteral("/calendar-sync.json");
}

StoredSync read(const QUrl &taskList)
{
    StoredSync stored { taskList, {}, {}, {}, {} };
    const std::optional<QByteArray> bytes = DiskFile::readAll(path(), MaxSize);
    const QJsonObject root = bytes ? QJsonDocument::fromJson(*bytes).object() : QJsonObject();
    if (QUrl(root.value(u"taskList").toString()) != taskList)
        return stored;
    stored.state.syncToken = root.value(u"syncToken").toString();
    const QJsonObject tasks = root.value(u"tasks").toObject();
    for (auto task = tasks.begin(); task != tasks.end(); ++task) {
        const QJsonObject fields = task.value().toObject();
        stored.state.tasks.insert(task.key(),
            { fields.value(u"etag").toString().toUtf8(), fields.value(u"calendarData").toString().toUtf8() });
    }
    stored.lastSync = QDateTime::fromString(root.value(u"lastSync").toString(), Qt::ISODateWithMs);
    stored.failure = root.value(u"failure").toString();
    stored.notice = root.value(u"notice").toString();
    return stored;
}

std::optional<QString> write(const StoredSync &stored)
{
    QJsonObject tasks;
    for (auto task = stored.state.tasks.cbegin(); task != stored.state.tasks.cend(); ++task) {
        tasks.insert(task.key(),
            QJsonObject { { QStringLiteral("etag"), QString::fromUtf8(task->etag) },
                { QStringLiteral("calendarData"), QString::fromUtf8(task->calendarData) } });
    }
    const QJsonObject root { { QStringLiteral("taskList"), stored.taskList.toString() },
        { QStringLiteral("syncToken"), stored.state.syncToken }, { QStringLiteral("tasks"), tasks },
        { QStringLiteral("lastSync"), stored.lastSync.toUTC().toString(Qt::ISODateWithMs) },
        { QStringLiteral("failure"), stored.failure }, { QStringLiteral("notice"), stored.notice } };
    if (const std::optional<QString> failure = DiskFile::makeFolder(GoalsHistory::defaultFolder()))
        return failure;
    return DiskFile::replaceAtomically(path(), QJsonDocument(root).toJson(QJsonDocument::Compact));
}

void remove()
{
    DiskFile::deleteFile(path());
}

} // namespace SyncStateFile
