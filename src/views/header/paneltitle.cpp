// SPDX-License-Identifier: GPL-3.0-or-later

#include "paneltitle.h"

#include "model/stepgoal.h"
#include "model/todoitem.h"

#include "model/panelsettings.h"

#include <utility>

PanelTitle::PanelTitle(PanelSettings *settings)
    : m_settings(settings)
{
}

QString PanelTitle::text() const
{
    const QString stored = m_settings->title().value_or(QString());
    // Only a hand-edited preference can hold a blank title; the header would have nothing to show.
    return holdsGoalText(stored) ? stored : tr("Today's Goals");
}

void PanelTitle::rename(const QString &title)
{
    m_settings->setTitle(keptGoalText(title));
}

std::optional<QString> PanelTitle::stored() const
{
    return m_settings->title();
}

void PanelTitle::restore(const std::optional<QString> &title)
{
    m_settings->setTitle(title ? std::optional(printableText(*title)) : std::nullopt);
}

RenameTitle::RenameTitle(PanelTitle *title, QString newTitle)
    : m_title(title)
    , m_newTitle(std::move(newTitle))
{
}

QString RenameTitle::text() const
{
    return tr("Rename to \u201C%1\u201D").arg(goalTextForMenu(m_newTitle));
}

bool RenameTitle::redo()
{
    if (!std::exchange(m_hasRun, true))
        m_oldTitle = m_title->stored();
    // A rename to the same title is stored all the same, but leaves nothing to undo.
    m_title->rename(m_newTitle);
    // As kept, so that a rename to the same title, spaces aside, leaves nothing to undo.
    m_newTitle = m_title->stored().value_or(QString());
    return m_oldTitle != m_newTitle;
}

bool RenameTitle::undo()
{
    const bool changes = m_title->stored() != m_oldTitle;
    m_title->restore(m_oldTitle);
    return changes;
}
