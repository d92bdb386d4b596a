// Feeds arbitrary bytes to the goals-file reader. Whatever it accepts must be writable, and what is
// written must read back as the same goals and write again to the same bytes.
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
        && storedSecond(a.createdAt) == storedSecond(b.createdAt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto goals
        = GoalsFile::decode(QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!goals)
        return 0;
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
