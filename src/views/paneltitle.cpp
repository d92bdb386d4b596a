#include "paneltitle.h"

#include "model/todoitem.h"

#include <QSettings>

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
