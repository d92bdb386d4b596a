#include "todostore.h"

#include "diskfile.h"
#include "goalsfile.h"
#include "goalsfilewatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>

#include <algorithm>
#include <limits>

Q_LOGGING_CATEGORY(lcGoals, "mirel.goals")

namespace
{

// Far beyond any day's list; a larger file is kept aside rather than read into memory.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// Kept copies are stamped to the second; a few more bad files within one second get a counter.
constexpr int MaxKeptNamesPerSecond = 100;
// The copies sync tools make of a file both computers changed: Syncthing's, then Nextcloud's and Dropbox's.
const QStringList ConflictCopyPatterns
    = { QStringLiteral("todos.sync-conflict-*.json"), QStringLiteral("todos (*conflicted copy*).json") };

bool isNewline(char16_t c)
{
    return (c >= 0x000A && c <= 0x000D) || c == 0x0085 || c == 0x2028 || c == 0x2029;
}

QString keptFileName(const QString &fileURL, int attempt)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddTHHmmss")) + u'Z';
    QString name = fileURL + QStringLiteral(".unreadable-") + stamp;
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

TodoStore::TodoStore(QObject *parent)
    : TodoStore(GoalsFile::defaultLocation(), GoalsHistory::defaultFolder(), parent)
{
}

TodoStore::TodoStore(std::optional<QString> fileURL, QObject *parent)
    : QObject(parent)
    , m_fileURL(std::move(fileURL))
{
    if (m_fileURL)
        open();
}

TodoStore::TodoStore(const QString &fileURL, const QString &stateFolder, QObject *parent)
    : QObject(parent)
    , m_fileURL(fileURL)
    , m_history(stateFolder)
{
    open();
}

void TodoStore::open()
{
    load();
    mergeFromDisk();
    m_watcher = new GoalsFileWatcher(*m_fileURL, this);
    connect(m_watcher, &GoalsFileWatcher::changed, this, &TodoStore::mergeFromDisk);
}

void TodoStore::load()
{
    const DiskFile::Signature signature = DiskFile::signatureOf(*m_fileURL);
    if (!signature.exists)
        return;
    std::optional<GoalsFile::ReadFile> file = readGoalsFile(*m_fileURL);
    if (file) {
        m_lastSeen = signature;
        m_base = file->todos;
        m_fileIsUnreadable = file->repaired;
    } else {
        // Not goals at all: the last good version of an earlier day rather than an empty list.
        m_fileIsUnreadable = true;
        if (std::optional<GoalsHistory::Version> version = m_history.latestGoodVersion()) {
            m_restoredDay = version->day;
            file = std::move(version->goals);
        }
    }
    if (file && !file->todos.isEmpty()) {
        m_todos = sortedByOrder(std::move(file->todos));
        emit todosChanged();
    }
    // Kept aside at once, so that the warning can name where the file as it was went.
    if (m_fileIsUnreadable)
        writeFile();
}

void TodoStore::mergeFromDisk()
{
    if (!m_fileURL)
        return;
    bool write = takeOutsideChange();
    QList<std::pair<QString, bool>> copies;
    for (const QString &name :
        QDir(QFileInfo(*m_fileURL).absolutePath()).entryList(ConflictCopyPatterns, QDir::Files)) {
        const QString path = QFileInfo(*m_fileURL).absolutePath() + u'/' + name;
        // One still being written, or not goals at all, is left alone; a later change brings it back.
        std::optional<GoalsFile::ReadFile> copy = readGoalsFile(path);
        if (!copy)
            continue;
        setTodos(GoalsMerge::merge(
            m_todos, { sortedByOrder(std::move(copy->todos)), std::nullopt, {} }, m_history.deletions()));
        copies.append({ path, copy->repaired });
    }
    if (write || !copies.isEmpty())
        writeFile();
    if (!m_saveFailure.isEmpty())
        return;
    // Everything in them is in the goals file now. What was repaired or skipped stays, byte for byte, aside.
    for (const auto &[path, repaired] : std::as_const(copies)) {
        if (repaired)
            keepAside(path);
        else
            QFile::remove(path);
    }
}

bool TodoStore::takeOutsideChange()
{
    const DiskFile::Signature signature = DiskFile::signatureOf(*m_fileURL);
    // Gone, or the version this panel last read or wrote: the panel's list stands.
    if (!signature.exists || signature == m_lastSeen)
        return false;
    const std::optional<QByteArray> bytes = DiskFile::readAll(*m_fileURL, MaxFileSize);
    std::optional<GoalsFile::ReadFile> file = bytes ? GoalsFile::read(*bytes) : std::nullopt;
    if (!file) {
        // Half written, or not goals at all: the panel keeps what it shows and takes the file once it reads
        // whole. A save before then keeps it aside.
        m_fileIsUnreadable = true;
        return false;
    }
    m_lastSeen = signature;
    m_fileIsUnreadable = file->repaired;
    QList<TodoItem> read = file->todos;
    const QDateTime written = QDateTime::fromMSecsSinceEpoch(signature.modifiedNs / 1'000'000, Qt::UTC);
    setTodos(GoalsMerge::merge(
        m_todos, { sortedByOrder(std::move(file->todos)), std::move(m_base), written }, m_history.deletions()));
    m_base = std::move(read);
    // Written back only where the merge or a repair changed it, so two panels on one shared file settle.
    return m_fileIsUnreadable || !GoalsFile::encodeInto(m_todos, m_saveBuffer) || m_saveBuffer != *bytes;
}

void TodoStore::setTodos(QList<TodoItem> todos)
{
    if (GoalsMerge::sameGoals(todos, m_todos))
        return;
    m_todos = std::move(todos);
    emit todosChanged();
}

void TodoStore::add(const QString &text)
{
    append(printableText(text), nextOrder());
}

void TodoStore::addLines(const QString &text)
{
    // Each line's goal has the largest order so far, so the next one follows it without a scan of the list;
    // only the largest possible order sends it back to nextOrder() to renumber.
    std::optional<qint64> lastOrder;
    qsizetype start = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i <= length; ++i) {
        if (i < length && !isNewline(text.at(i).unicode()))
            continue;
        if (auto line = trimmedNonEmpty(QStringView(text).sliced(start, i - start).toString())) {
            const bool follows = lastOrder && *lastOrder < std::numeric_limits<qint64>::max();
            lastOrder = follows ? *lastOrder + 1 : nextOrder();
            append(*line, *lastOrder);
        }
        start = i + 1;
    }
    save();
}

qint64 TodoStore::nextOrder()
{
    // An empty list starts at 0; otherwise one past the largest order, however negative the orders are.
    qint64 largest = m_todos.isEmpty() ? -1 : std::numeric_limits<qint64>::min();
    for (const TodoItem &item : std::as_const(m_todos))
        largest = std::max(largest, item.order);
    // Only a hand-edited file can hold the largest order; renumbering makes room for the next one.
    if (largest == std::numeric_limits<qint64>::max()) {
        renumber();
        largest = m_todos.size() - 1;
    }
    return largest + 1;
}

void TodoStore::append(const QString &text, qint64 order)
{
    TodoItem item;
    item.id = QUuid::createUuid();
    item.text = text;
    item.order = order;
    item.createdAt = QDateTime::currentDateTimeUtc();
    item.modifiedAt = item.createdAt;
    m_todos.append(std::move(item));
    emit todosChanged();
}

void TodoStore::toggle(const QUuid &id)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return;
    it->completed = !it->completed;
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
}

void TodoStore::updateText(const QUuid &id, const QString &text)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return;
    it->text = printableText(text);
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
}

void TodoStore::remove(const QUuid &id)
{
    removeGoals({ id });
}

bool TodoStore::setCompleted(const QUuid &id, bool completed)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end() || it->completed == completed)
        return false;
    it->completed = completed;
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    emit todosChanged();
    save();
    return true;
}

QList<TodoStore::PlacedGoal> TodoStore::removeGoals(const QSet<QUuid> &ids)
{
    QList<PlacedGoal> removed;
    QList<TodoItem> kept;
    kept.reserve(m_todos.size());
    for (qsizetype i = 0; i < m_todos.size(); ++i) {
        if (ids.contains(m_todos.at(i).id))
            removed.append({ i, std::move(m_todos[i]) });
        else
            kept.append(std::move(m_todos[i]));
    }
    m_todos = std::move(kept);
    if (!removed.isEmpty()) {
        QList<QUuid> removedIds;
        for (const PlacedGoal &placed : std::as_const(removed))
            removedIds.append(placed.goal.id);
        m_history.recordDeletions(removedIds, QDateTime::currentDateTimeUtc());
    }
    emit todosChanged();
    renumber();
    save();
    return removed;
}

void TodoStore::restore(const QList<PlacedGoal> &goals)
{
    QSet<QUuid> present;
    for (const TodoItem &item : std::as_const(m_todos))
        present.insert(item.id);
    QList<PlacedGoal> sorted = goals;
    std::stable_sort(
        sorted.begin(), sorted.end(), [](const PlacedGoal &a, const PlacedGoal &b) { return a.position < b.position; });
    // A goal put back is the person's latest change to it, so a merge with an older copy keeps it, and its
    // deletion no longer stands.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<QUuid> restored;
    for (PlacedGoal &placed : sorted) {
        if (present.contains(placed.goal.id))
            continue;
        placed.goal.modifiedAt = now;
        restored.append(placed.goal.id);
        m_todos.insert(std::clamp(placed.position, qsizetype(0), m_todos.size()), std::move(placed.goal));
    }
    m_history.forgetDeletions(restored);
    emit todosChanged();
    renumber();
    save();
}

bool TodoStore::moveTo(const QUuid &id, qsizetype position)
{
    const auto it = std::find_if(m_todos.begin(), m_todos.end(), [&id](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return false;
    const qsizetype from = it - m_todos.begin();
    // An undo may put a goal back into a list that has become shorter meanwhile.
    const qsizetype to = std::clamp(position, qsizetype(0), m_todos.size() - 1);
    if (from == to)
        return false;
    // Only the goal moved changes; the others' orders are renumbered but their places among each other stay.
    it->modifiedAt = QDateTime::currentDateTimeUtc();
    m_todos.move(from, to);
    emit todosChanged();
    renumber();
    save();
    return true;
}

bool TodoStore::moveBy(const QUuid &id, int places)
{
    const auto it
        = std::find_if(m_todos.cbegin(), m_todos.cend(), [&id](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.cend())
        return false;
    const qsizetype to = (it - m_todos.cbegin()) + places;
    return to >= 0 && to < m_todos.size() && moveTo(id, to);
}

void TodoStore::renumber()
{
    bool changed = false;
    for (qsizetype i = 0; i < m_todos.size(); ++i) {
        if (m_todos[i].order != i) {
            m_todos[i].order = i;
            changed = true;
        }
    }
    if (changed)
        emit todosChanged();
}

bool TodoStore::keepUnreadableFileAside()
{
    if (!QFileInfo::exists(*m_fileURL))
        return true;
    const std::optional<QString> kept = keepAside(*m_fileURL);
    if (!kept)
        // The file may have gone in the meantime; then there is nothing left to keep.
        return !QFileInfo::exists(*m_fileURL);
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

void TodoStore::save()
{
    if (!m_fileURL)
        return;
    // Another program may have written since this panel last looked; its changes are merged, never overwritten.
    takeOutsideChange();
    writeFile();
}

void TodoStore::writeFile()
{
    // An unreadable file may still hold the user's goals: move it aside before replacing it, and
    // rather skip this save (the next one tries again) than overwrite it.
    if (m_fileIsUnreadable) {
        if (!keepUnreadableFileAside())
            return setSaveFailure(tr("the unreadable goals file %1 cannot be moved aside").arg(*m_fileURL));
        m_fileIsUnreadable = false;
    }
    if (!GoalsFile::encodeInto(m_todos, m_saveBuffer))
        return setSaveFailure(tr("a goal cannot be written in the goals file's form"));
    const QString folder = QFileInfo(*m_fileURL).absolutePath();
    // The folder may be missing, or removed while the panel runs; then it is made first.
    if (const std::optional<QString> noFolder = DiskFile::makeFolder(folder))
        return setSaveFailure(*noFolder);
    m_history.keepDailyVersion(*m_fileURL);
    if (const std::optional<QString> failure = DiskFile::replaceAtomically(*m_fileURL, m_saveBuffer))
        return setSaveFailure(tr("cannot write the goals file %1: %2").arg(*m_fileURL, *failure));
    m_lastSeen = DiskFile::signatureOf(*m_fileURL);
    m_base = m_todos;
    if (m_watcher)
        m_watcher->rewatch();
    setSaveFailure(QString());
}

void TodoStore::setSaveFailure(const QString &failure)
{
    if (failure == m_saveFailure)
        return;
    m_saveFailure = failure;
    if (!failure.isEmpty())
        qCWarning(lcGoals, "the goals are not saved: %s", qPrintable(failure));
    emit saveFailureChanged(m_saveFailure);
}
