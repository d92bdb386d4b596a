// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model/todostore.h"

#include <QStringList>

// Each goal's text in list order, a ticked goal's marked with a trailing *.
inline QStringList goalTexts(const TodoStore &store)
{
    QStringList texts;
    for (const TodoItem &item : store.todos())
        texts.append(item.text + (item.completed ? QStringLiteral("*") : QString()));
    return texts;
}
