#include "todostore.h"

#include "goalsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <limits>

#include <cerrno>
#include <unistd.h>

namespace
{

// Far beyond any day's list; a larger file is kept aside rather than read into memory.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// Kept copies are stamped to the second; a few more bad files within one second get a counter.
constexpr int MaxKeptNamesPerSecond = 100;

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

// Writes everything or reports why not. A short or failed write is the usual face of a full disk.
std::optional<QString> writeAll(int descriptor, const QByteArray &bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t result = ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            return qt_error_string(result < 0 ? errno : ENOSPC);
        written += result;
    }
    if (::fsync(descriptor) != 0)
        return qt_error_string(errno);
    return std::nullopt;
}

// QSaveFile writes beside the old file and renames over it, so a crash or a power loss leaves the old list
// or the new one and never a mix. But Qt 6.4's commit() renames even when its buffered data never reached
// the disk, replacing the goals with an empty file; so the bytes go straight to the descriptor, every write
// and the sync are checked, and any failure cancels the rename and leaves the old file as it was.
std::optional<QString> replaceAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (std::optional<QString> failure = writeAll(file.handle(), bytes)) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace

TodoStore::TodoStore(QObject *parent)
    : TodoStore(GoalsFile::defaultLocation(), parent)
{
}

TodoStore::TodoStore(std::optional<QString> fileURL, QObject *parent)
    : QObject(parent)
    , m_fileURL(std::move(fileURL))
{
    if (m_fileURL)
        load();
}

void TodoStore::load()
{
    QFile file(*m_fileURL);
    if (!file.exists())
        return;
    std::optional<QList<TodoItem>> decoded;
    if (file.size() <= MaxFileSize && file.open(QIODevice::ReadOnly))
        decoded = GoalsFile::decode(file.readAll());
    if (!decoded) {
        m_fileIsUnreadable = true;
        return;
    }
    std::stable_sort(
        decoded->begin(), decoded->end(), [](const TodoItem &a, const TodoItem &b) { return a.order < b.order; });
    m_todos = std::move(*decoded);
    emit todosChanged();
}

void TodoStore::add(const QString &text)
{
    append(text, nextOrder());
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
    m_todos.append(std::move(item));
    emit todosChanged();
}

void TodoStore::toggle(const QUuid &id)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return;
    it->completed = !it->completed;
    emit todosChanged();
    save();
}

void TodoStore::updateText(const QUuid &id, const QString &text)
{
    auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
    if (it == m_todos.end())
        return;
    it->text = text;
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
    for (PlacedGoal &placed : sorted) {
        if (present.contains(placed.goal.id))
            continue;
        m_todos.insert(std::clamp(placed.position, qsizetype(0), m_todos.size()), std::move(placed.goal));
    }
    emit todosChanged();
    renumber();
    save();
}

void TodoStore::place(const QList<std::pair<QUuid, qsizetype>> &positions)
{
    QList<PlacedGoal> taken;
    for (const auto &[id, position] : positions) {
        auto it = std::find_if(m_todos.begin(), m_todos.end(), [&](const TodoItem &item) { return item.id == id; });
        if (it == m_todos.end())
            continue;
        taken.append({ position, std::move(*it) });
        m_todos.erase(it);
    }
    restore(taken);
}

void TodoStore::move(const QSet<int> &sourceOffsets, int destination)
{
    const auto size = int(m_todos.size());
    // The list's own reordering never produces these; anything else is a caller's mistake to ignore.
    if (destination < 0 || destination > size)
        return;
    for (int offset : sourceOffsets) {
        if (offset < 0 || offset >= size)
            return;
    }

    QList<TodoItem> before;
    QList<TodoItem> moved;
    QList<TodoItem> after;
    for (int i = 0; i < size; ++i) {
        if (sourceOffsets.contains(i))
            moved.append(std::move(m_todos[i]));
        else if (i < destination)
            before.append(std::move(m_todos[i]));
        else
            after.append(std::move(m_todos[i]));
    }
    before.append(std::move(moved));
    before.append(std::move(after));
    m_todos = std::move(before);
    emit todosChanged();
    renumber();
    save();
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
    // QFile::rename never replaces an existing file, so an earlier kept copy is never lost.
    for (int attempt = 0; attempt < MaxKeptNamesPerSecond; ++attempt) {
        const QString kept = keptFileName(*m_fileURL, attempt);
        if (QFile::exists(kept))
            continue;
        if (QFile::rename(*m_fileURL, kept)) {
            m_keptUnreadableFile = kept;
            return true;
        }
        // The file may have gone in the meantime; then there is nothing left to keep.
        return !QFile::exists(*m_fileURL);
    }
    return false;
}

void TodoStore::save()
{
    if (!m_fileURL)
        return;
    // An unreadable file may still hold the user's goals: move it aside before replacing it, and
    // rather skip this save (the next one tries again) than overwrite it.
    if (m_fileIsUnreadable) {
        if (!keepUnreadableFileAside())
            return setSaveFailure(tr("the unreadable goals file %1 cannot be moved aside").arg(*m_fileURL));
        m_fileIsUnreadable = false;
    }
    if (!GoalsFile::encodeInto(m_todos, m_saveBuffer))
        return setSaveFailure(tr("a goal cannot be written in the goals file's form"));
    std::optional<QString> failure = replaceAtomically(*m_fileURL, m_saveBuffer);
    if (failure) {
        // The folder may have been removed while the panel runs; recreating it keeps saves working.
        QDir().mkpath(QFileInfo(*m_fileURL).absolutePath());
        failure = replaceAtomically(*m_fileURL, m_saveBuffer);
    }
    setSaveFailure(failure.value_or(QString()));
}

void TodoStore::setSaveFailure(const QString &failure)
{
    if (failure == m_saveFailure)
        return;
    m_saveFailure = failure;
    emit saveFailureChanged(m_saveFailure);
}
