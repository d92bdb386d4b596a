// SPDX-License-Identifier: GPL-3.0-or-later

#include "editsession.h"

#include "model/todoitem.h"

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
    if (holdsGoalText(text))
        emit accepted(text);
    emit ended(Ending::Committed);
}

void EditSession::commitAndContinue(const QString &text)
{
    if (!m_isOpen)
        return;
    if (holdsGoalText(text))
        emit accepted(text);
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
