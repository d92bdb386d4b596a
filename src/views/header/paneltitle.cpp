#include "paneltitle.h"

#include "model/goalsteps.h"
#include "model/todoitem.h"

#include <QSettings>

#include <utility>

namespace
{

constexpr QLatin1StringView TitleKey("title");

} // namespace

PanelTitle::PanelTitle(QSettings *defaults)
    : m_defaults(defaults)
{
}

QString PanelTitle::text() const
{
    const QString stored = m_defaults ? m_defaults->value(TitleKey).toString() : QString();
    // Only a hand-edited preference can hold a blank title; the header would have nothing to show.
    return trimmedNonEmpty(stored) ? stored : tr("Today's Goals");
}

void PanelTitle::rename(const QString &title)
{
    if (!m_defaults)
        return;
    m_defaults->setValue(TitleKey, printableText(title));
    m_defaults->sync();
}

std::optional<QString> PanelTitle::stored() const
{
    if (!m_defaults || !m_defaults->contains(TitleKey))
        return std::nullopt;
    return m_defaults->value(TitleKey).toString();
}

void PanelTitle::restore(const std::optional<QString> &title)
{
    if (!m_defaults)
        return;
    if (title)
        return rename(*title);
    m_defaults->remove(TitleKey);
    m_defaults->sync();
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
    return m_oldTitle != m_newTitle;
}

void RenameTitle::undo()
{
    m_title->restore(m_oldTitle);
}
