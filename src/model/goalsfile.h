#pragma once

#include "todoitem.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The goals file: one compact JSON array of goal objects, UTF-8 without BOM or trailing newline.
namespace GoalsFile {

QByteArray encode(const QList<TodoItem> &todos);

// All goals or none: any element that breaks the rules makes the whole file unreadable.
std::optional<QList<TodoItem>> decode(const QByteArray &bytes);

// ~/.local/share/Mirel/todos.json on Linux; the folder is created when missing (failures are ignored).
QString defaultLocation();

// The wire forms of the two fields that need more than JSON's own types.
QString formatUuid(const QUuid &id);
std::optional<QUuid> parseUuid(QStringView text);
QString formatDate(const QDateTime &date);
std::optional<QDateTime> parseDate(QStringView text);

} // namespace GoalsFile
