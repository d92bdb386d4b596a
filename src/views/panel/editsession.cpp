// SPDX-License-Identifier: GPL-3.0-or-later

#include "editsession.h"

#include "model/todoitem.h"

EditSession::EditSession(Lines lines, QObject *parent)
    : QObject(parent)
    , m_lines(lines)
{
}

void EditSession::begin()
{
    m_isOpen = true;
    emit begun();
}

void EditSession::commit(const QString &text)
{
    if (!m_isOpen)
        return;
    m_isOpen = false;
    if (const std::optional<QString> kept = keptText(text))
        emit accepted(*kept);
    emit ended(Ending::Committed);
}

void EditSession::commitAndContinue(const QString &text)
{
    if (!m_isOpen)
        return;
    if (const std::optional<QString> kept = keptText(text))
        emit accepted(*kept);
    else
        cancel();
}

void EditSession::cancel()
{
    if (!m_isOpen)
        return;
    m_isOpen = false;
    emit ended(Ending::Cancelled);
}

std::optional<QString> EditSession::keptText(const QString &text) const
{
    std::optional<QString> kept = trimmedNonEmpty(text);
    if (kept && m_lines == Lines::Kept && hasLineBreak(text))
        return text;
    return kept;
}
