// SPDX-License-Identifier: GPL-3.0-or-later

#include "editsession.h"

#include "model/todoitem.h"

#include <optional>

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
    if (const std::optional<QString> kept = trimmedNonEmpty(text))
        emit accepted(*kept);
    emit ended();
}

void EditSession::commitAndContinue(const QString &text)
{
    if (!m_isOpen)
        return;
    if (const std::optional<QString> kept = trimmedNonEmpty(text))
        emit accepted(*kept);
    else
        cancel();
}

void EditSession::cancel()
{
    if (!m_isOpen)
        return;
    m_isOpen = false;
    emit ended();
}
