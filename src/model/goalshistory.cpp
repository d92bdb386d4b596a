// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalshistory.h"

#include "diskfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace
{

// Longer than any two computers stay apart in practice, short enough that the list stays small.
constexpr int DeletionsKeptDays = 42;
constexpr int VersionsKept = 7;
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
const QString VersionPrefix = QStringLiteral("todos-");
const QString VersionSuffix = QStringLiteral(".json");
const QString SavedVersionName = QStringLiteral("todos-last-saved.json");

QString versionName(QDate day)
{
    return VersionPrefix + day.toString(Qt::ISODate) + VersionSuffix;
}

// Matched by hand: a name filter compiles a regular expression, and the first save of a day, which keeps the
// day's version, can come before the panel's first frame.
bool isDayVersion(QStringView name)
{
    constexpr QStringView Day = u"0000-00-00";
    if (name.size() != VersionPrefix.size() + Day.size() + VersionSuffix.size()
        || !name.startsWith(VersionPrefix, Qt::CaseInsensitive) || !name.endsWith(VersionSuffix, Qt::CaseInsensitive))
        return false;
    return std::ranges::equal(name.sliced(VersionPrefix.size(), Day.size()), Day,
        [](QChar given, QChar wanted) { return wanted == u'-' ? given == u'-' : given >= u'0' && given <= u'9'; });
}

QStringList versionsNewestFirst(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name | QDir::Reversed);
    // ISO dates sort by name as by time.
    names.removeIf([](const QString &name) { return !isDayVersion(name); });
    return names;
}

} // namespace

GoalsHistory::GoalsHistory(QString folder)
    : m_folder(std::move(folder))
{
    if (!m_folder.isEmpty())
        loadDeletions();
}

QString GoalsHistory::defaultFolder()
{
    // Qt 6.4 has no state location yet.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Mirel");
}

QString GoalsHistory::deletionsFile() const
{
    return m_folder + QStringLiteral("/deletions.json");
}

void GoalsHistory::loadDeletions()
{
    // A damaged record only lets an old copy bring a deleted goal back; it never costs a goal.
    const std::optional<QByteArray> bytes = DiskFile::readAll(deletionsFile(), MaxFileSize);
    if (!bytes)
        return;
    for (const QJsonValue &value : QJsonDocument::fromJson(*bytes).array()) {
        const QUuid id = QUuid::fromString(value[u"id"].toString());
        const QDateTime when = QDateTime::fromString(value[u"deletedAt"].toString(), Qt::ISODateWithMs);
        if (!id.isNull() && when.isValid())
            m_deletions.insert(id, when);
    }
}

void GoalsHistory::recordDeletions(const QList<QUuid> &ids, const QDateTime &when)
{
    for (const QUuid &id : ids)
        m_deletions.insert(id, when);
    const QDateTime oldest = when.addDays(-DeletionsKeptDays);
    m_deletions.removeIf([&oldest](const auto &entry) { return entry.value() < oldest; });
    writeDeletions();
}

void GoalsHistory::forgetDeletions(const QList<QUuid> &ids)
{
    const qsizetype before = m_deletions.size();
    m_deletions.removeIf([&ids](const auto &entry) { return ids.contains(entry.key()); });
    if (m_deletions.size() != before)
        writeDeletions();
}

void GoalsHistory::writeDeletions() const
{
    if (m_folder.isEmpty() || DiskFile::makeFolder(m_folder))
        return;
    QJsonArray records;
    for (auto it = m_deletions.cbegin(); it != m_deletions.cend(); ++it) {
        records.append(QJsonObject { { QStringLiteral("id"), it.key().toString(QUuid::WithoutBraces) },
            { QStringLiteral("deletedAt"), it.value().toUTC().toString(Qt::ISODateWithMs) } });
    }
    DiskFile::replaceAtomically(deletionsFile(), QJsonDocument(records).toJson(QJsonDocument::Compact));
}

void GoalsHistory::keepDailyVersion(const QString &goalsFile)
{
    const QDate today = QDate::currentDate();
    if (m_folder.isEmpty() || m_dayKept == today)
        return;
    const QFileInfo file(goalsFile);
    const QDate written = file.lastModified().date();
    // Written today already, so its earlier day was kept by the save that did that.
    m_dayKept = today;
    if (!file.isFile() || written >= today || DiskFile::makeFolder(m_folder))
        return;
    const std::optional<QByteArray> bytes = DiskFile::readAll(goalsFile, MaxFileSize);
    if (!bytes || !GoalsFile::read(*bytes))
        return;
    DiskFile::replaceAtomically(m_folder + u'/' + versionName(written), *bytes);
    const QStringList versions = versionsNewestFirst(m_folder);
    // An old version that cannot be deleted costs only its few bytes.
    for (qsizetype i = VersionsKept; i < versions.size(); ++i)
        DiskFile::deleteFile(m_folder + u'/' + versions.at(i));
}

void GoalsHistory::keepSavedVersion(const QByteArray &goalsFile) const
{
    // A copy rather than a hard link: a program that writes the goals file in place would change a link too.
    // One that cannot be written costs only this safety net; the goals file itself is saved.
    if (!m_folder.isEmpty() && !DiskFile::makeFolder(m_folder))
        DiskFile::replaceAtomically(m_folder + u'/' + SavedVersionName, goalsFile);
}

std::optional<GoalsHistory::Version> GoalsHistory::latestGoodVersion() const
{
    if (m_folder.isEmpty())
        return std::nullopt;
    QStringList names = versionsNewestFirst(m_folder);
    names.prepend(SavedVersionName);
    for (const QString &name : std::as_const(names)) {
        const QString path = m_folder + u'/' + name;
        const std::optional<QByteArray> bytes = DiskFile::readAll(path, MaxFileSize);
        std::optional<GoalsFile::ReadFile> goals = bytes ? GoalsFile::read(*bytes) : std::nullopt;
        const QDate day = name == SavedVersionName ? QFileInfo(path).lastModified().date()
                                                   : QDate::fromString(name.mid(VersionPrefix.size(), 10), Qt::ISODate);
        if (goals && day.isValid())
            return Version { day, std::move(*goals) };
    }
    return std::nullopt;
}
