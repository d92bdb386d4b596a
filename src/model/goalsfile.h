// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "todoitem.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The goals file: one compact JSON array of goal objects, UTF-8 without BOM or trailing newline.
namespace GoalsFile
{

// Nothing when a goal cannot be written in the file's form (a createdAt that is invalid or outside the
// years 1 to 9999); the store then skips that save rather than write a file it could not read back.
std::optional<QByteArray> encode(const QList<TodoItem> &todos);
// The same into `out`, reusing its memory: for a long list, a fresh buffer on every save costs more in
// page faults than the encoding itself. False, with `out` unspecified, where encode gives nothing.
bool encodeInto(const QList<TodoItem> &todos, QByteArray &out);

struct ReadFile {
    QList<TodoItem> todos;
    // Some element had no readable text and was skipped, or a field of a goal was missing or unusable and
    // was repaired: a new id, not done, after the other goals, created now.
    bool repaired = false;
};

// Every goal whose text can be read, in file order; nothing when the bytes are not one JSON array at all.
std::optional<ReadFile> read(const QByteArray &bytes);

// All goals or none: any element that breaks the rules makes the whole file unreadable.
std::optional<QList<TodoItem>> decode(const QByteArray &bytes);

// ~/.local/share/Mirel/todos.json on Linux; the folder is created when missing (failures are ignored).
QString defaultLocation();

} // namespace GoalsFile
