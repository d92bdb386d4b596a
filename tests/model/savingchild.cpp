// SPDX-License-Identifier: GPL-3.0-or-later

// Saves an ever-changing goal list in a loop until it is killed. The crash-safety test kills it at
// random moments and checks what it left on disk. Every list it saves holds consecutive step numbers,
// so a file mixed from two saves or cut short cannot pass for a saved one.
#include "model/todostore.h"

#include <cstdio>

namespace
{

constexpr int KeptGoals = 150;
// Long texts make each save big enough that many kills land in the middle of a write.
constexpr int Padding = 120;

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    TodoStore store(QString::fromLocal8Bit(argv[1]));
    qint64 step = store.todos().isEmpty() ? 0 : store.todos().constLast().text.section(u' ', 0, 0).toLongLong() + 1;
    const QString padding(Padding, u'~');
    // Tells the test that loading is over, so its kill lands among the saves rather than in start-up.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (;; ++step) {
        store.add(QString::number(step) + u' ' + padding);
        store.save();
        if (store.todos().size() > KeptGoals)
            store.remove(store.todos().constFirst().id);
    }
}
