// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to the goals-file reader. Whatever it accepts, repaired or not, must be writable, and
// what is written must read back whole as the same goals and write again to the same bytes.
#include "model/goalsfile.h"

#include <cstdint>
#include <cstdlib>

namespace
{

// The file keeps whole seconds; the reader may have seen a fraction.
qint64 storedSecond(const QDateTime &date)
{
    const qint64 msecs = date.toMSecsSinceEpoch();
    return msecs / 1000 - (msecs % 1000 < 0 ? 1 : 0);
}

bool sameGoal(const TodoItem &a, const TodoItem &b)
{
    return a.id == b.id && a.text == b.text && a.completed == b.completed && a.order == b.order
        && storedSecond(a.createdAt) == storedSecond(b.createdAt) && a.modifiedAt == b.modifiedAt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto file = GoalsFile::read(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!file)
        return 0;
    const QList<TodoItem> *goals = &file->todos;
    const auto bytes = GoalsFile::encode(*goals);
    if (!bytes)
        std::abort();
    const auto again = GoalsFile::decode(*bytes);
    if (!again || again->size() != goals->size())
        std::abort();
    for (qsizetype i = 0; i < goals->size(); ++i) {
        if (!sameGoal(goals->at(i), again->at(i)))
            std::abort();
    }
    if (GoalsFile::encode(*again) != bytes)
        std::abort();
    return 0;
}
