// SPDX-License-Identifier: GPL-3.0-or-later

#include "goalsdisk.h"

#include "goalsfile.h"
#include "goalsfilewatcher.h"
#include "goalshistory.h"
#include "goalsmerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcGoals, "mirel.goals")

namespace
{

// Far beyond any day's list; a larger file is kept aside rather than read into memory.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// Kept copies are stamped to the second; a few more bad files within one second get a counter.
constexpr int MaxKeptNamesPerSecond = 100;

// The copies sync tools make of a file both computers changed: Syncthing's `todos.sync-conflict-….json`, then
// Nextcloud's and Dropbox's `todos (…conflicted copy…).json`. Matched by hand: a name filter compiles a
// regular expression, and the first look comes before the panel's first frame.
bool isConflictCopy(QStringView name)
{
    constexpr QStringView SyncthingPrefix = u"todos.sync-conflict-";
    constexpr QStringView SharePrefix = u"todos (";
    constexpr QStringView ShareSuffix = u").json";
    if (name.size() >= SyncthingPrefix.size() + 5 && name.startsWith(SyncthingPrefix, Qt::CaseInsensitive))
        return name.endsWith(u".json", Qt::CaseInsensitive);
    return name.size() >= SharePrefix.size() + ShareSuffix.size() && name.startsWith(SharePrefix, Qt::CaseInsensitive)
        && name.endsWith(ShareSuffix, Qt::CaseInsensitive)
        && name.sliced(SharePrefix.size(), name.size() - SharePrefix.size() - ShareSuffix.size())
               .contains(u"conflicted copy", Qt::CaseInsensitive);
}

QString keptFileName(const QString &path, int attempt)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmss")) + u'Z';
    QString name = path + QStringLiteral(".unreadable-") + stamp;
    if (attempt > 0)
        name += u'-' + QString::number(attempt);
    return name;
}

// Moves the file to a name of its own beside it, never replacing an earlier one; the new name, or nothing.
std::optional<QString> keepAside(const QString &path)
{
    // QFile::rename never replaces an existing file, so an earlier kept copy is never lost.
    for (int attempt = 0; attempt < MaxKeptNamesPerSecond; ++attempt) {
        const QString kept = keptFileName(path, attempt);
        if (QFile::exists(kept))
            continue;
        if (QFile::rename(path, kept))
            return kept;
        return std::nullopt;
    }
    return std::nullopt;
}

// A goals file in list order, as loading sorts it: by order, equal orders as they stand.
QList<TodoItem> sortedByOrder(QList<TodoItem> todos)
{
    std::stable_sort(
        todos.begin(), todos.end(), [](const TodoItem &a, const TodoItem &b) { return a.order < b.order; });
    return todos;
}

std::optional<GoalsFile::ReadFile> readGoalsFile(const QString &path)
{
    const std::optional<QByteArray> bytes = DiskFile::readAll(path, MaxFileSize);
    return bytes ? GoalsFile::read(*bytes) : std::nullopt;
}

} // namespace

GoalsDisk::GoalsDisk(QString path, GoalsHistory *history, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_history(history)
{
}

QList<TodoItem> GoalsDisk::readGoals()
{
    const DiskFile::Signature signature = DiskFile::signatureOf(m_path);
    if (!signature.exists)
        return {};
    std::optional<GoalsFile::ReadFile> file = readGoalsFile(m_path);
    if (file) {
        m_lastSeen = signature;
        m_base = file->todos;
        m_fileIsUnreadable = file->repaired;
    } else {
        // Not goals at all: the last good version of an earlier day rather than an empty list.
        m_fileIsUnreadable = true;
        if (std::optional<GoalsHistory::Version> version = m_history->latestGoodVersion()) {
            m_restoredDay = version->day;
            file = std::move(version->goals);
        }
    }
    QList<TodoItem> todos = file ? sortedByOrder(std::move(file->todos)) : QList<TodoItem>();
    // Kept aside at once, so that the warning can name where the file as it was went.
    if (m_fileIsUnreadable)
        writeGoals(todos);
    return todos;
}

void GoalsDisk::startWatching()
{
    m_watcher = new GoalsFileWatcher(m_path, this);
    connect(m_watcher, &GoalsFileWatcher::changed, this, &GoalsDisk::changed);
}

std::optional<QList<TodoItem>> GoalsDisk::takeOutsideChange(const QList<TodoItem> &todos)
{
    const DiskFile::Signature signature = DiskFile::signatureOf(m_path);
    // Gone, or the version this panel last read or wrote: the panel's list stands.
    if (!signature.exists || signature == m_lastSeen)
        return std::nullopt;
    const std::optional<QByteArray> bytes = DiskFile::readAll(m_path, MaxFileSize);
    std::optional<GoalsFile::ReadFile> file = bytes ? GoalsFile::read(*bytes) : std::nullopt;
    if (!file) {
        // Half written, or not goals at all: the panel keeps what it shows and takes the file once it reads
        // whole. A save before then keeps it aside.
        m_fileIsUnreadable = true;
        return std::nullopt;
    }
    m_lastSeen = signature;
    m_fileIsUnreadable = file->repaired;
    m_takenBytes = *bytes;
    QList<TodoItem> read = file->todos;
    const QDateTime written = QDateTime::fromMSecsSinceEpoch(signature.modifiedNs / 1'000'000, Qt::UTC);
    QList<TodoItem> merged = GoalsMerge::merge(
        todos, { sortedByOrder(std::move(file->todos)), std::move(m_base), written }, m_history->deletions());
    m_base = std::move(read);
    return merged;
}

bool GoalsDisk::differsFrom(const QList<TodoItem> &todos)
{
    // Written back only where the merge or a repair changed it, so two panels on one shared file settle.
    return m_fileIsUnreadable || !GoalsFile::encodeInto(todos, m_saveBuffer) || m_saveBuffer != m_takenBytes;
}

bool GoalsDisk::disappeared() const
{
    return m_lastSeen.exists && !DiskFile::signatureOf(m_path).exists;
}

QList<GoalsDisk::ConflictCopy> GoalsDisk::conflictCopies() const
{
    QList<ConflictCopy> copies;
    const QString folder = QFileInfo(m_path).absolutePath();
    for (const QString &name : QDir(folder).entryList(QDir::Files)) {
        if (!isConflictCopy(name))
            continue;
        const QString path = folder + u'/' + name;
        // One still being written, or not goals at all, is left alone; a later change brings it back.
        std::optional<GoalsFile::ReadFile> copy = readGoalsFile(path);
        if (copy)
            copies.append({ path, sortedByOrder(std::move(copy->todos)), copy->repaired });
    }
    return copies;
}

void GoalsDisk::settle(const QList<ConflictCopy> &copies)
{
    // What was repaired or skipped stays, byte for byte, aside.
    for (const ConflictCopy &copy : copies) {
        if (copy.repaired)
            keepAside(copy.path);
        else if (const std::optional<QString> failure = DiskFile::deleteFile(copy.path))
            qCWarning(lcGoals, "a merged conflict copy stays: %s", qPrintable(*failure));
    }
}

void GoalsDisk::writeGoals(const QList<TodoItem> &todos)
{
    // An unreadable file may still hold the user's goals: move it aside before replacing it, and
    // rather skip this save (the next one tries again) than overwrite it.
    if (m_fileIsUnreadable) {
        if (!keepUnreadableFileAside())
            return setSaveFailure(tr("the unreadable goals file %1 cannot be moved aside").arg(m_path));
        m_fileIsUnreadable = false;
    }
    if (!GoalsFile::encodeInto(todos, m_saveBuffer))
        return setSaveFailure(tr("a goal cannot be written in the goals file's form"));
    const QString folder = QFileInfo(m_path).absolutePath();
    // The folder may be missing, or removed while the panel runs; then it is made first.
    if (const std::optional<QString> noFolder = DiskFile::makeFolder(folder))
        return setSaveFailure(*noFolder);
    m_history->keepDailyVersion(m_path);
    if (const std::optional<QString> failure = DiskFile::replaceAtomically(m_path, m_saveBuffer))
        return setSaveFailure(tr("cannot write the goals file %1: %2").arg(m_path, *failure));
    m_lastSeen = DiskFile::signatureOf(m_path);
    m_base = todos;
    m_history->keepSavedVersion(m_saveBuffer);
    if (m_watcher)
        m_watcher->rewatch();
    setSaveFailure(QString());
}

bool GoalsDisk::keepUnreadableFileAside()
{
    if (!QFileInfo::exists(m_path))
        return true;
    const std::optional<QString> kept = keepAside(m_path);
    if (!kept)
        // The file may have gone in the meantime; then there is nothing left to keep.
        return !QFileInfo::exists(m_path);
    m_keptUnreadableFile = kept;
    m_readNotice = m_restoredDay
        ? tr("The goals file could not be read. It is kept as %1, and the goals saved on %2 were opened instead.")
              .arg(*kept, QLocale().toString(*m_restoredDay, QLocale::ShortFormat))
        : tr("Part of the goals file could not be read. The file as it was is kept as %1.").arg(*kept);
    m_restoredDay.reset();
    qCWarning(lcGoals, "%s", qPrintable(m_readNotice));
    emit readNoticeChanged(m_readNotice);
    return true;
}

void GoalsDisk::setSaveFailure(const QString &failure)
{
    if (failure == m_saveFailure)
        return;
    m_saveFailure = failure;
    if (!failure.isEmpty())
        qCWarning(lcGoals, "the goals are not saved: %s", qPrintable(failure));
    emit saveFailureChanged(m_saveFailure);
}
