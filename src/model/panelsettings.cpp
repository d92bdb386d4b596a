// SPDX-License-Identifier: GPL-3.0-or-later

#include "panelsettings.h"

#include <QSettings>

#include <cmath>

namespace
{

constexpr QLatin1StringView TitleKey("title");
constexpr QLatin1StringView PanelXKey("panelX");
constexpr QLatin1StringView PanelYKey("panelY");
constexpr QLatin1StringView PanelWKey("panelW");
constexpr QLatin1StringView PanelHKey("panelH");
constexpr QLatin1StringView ClearingKey("clearDoneGoalsEachDay");
constexpr QLatin1StringView ClearedKey("lastDayStartCleared");
constexpr QLatin1StringView ShortcutKey("newGoalShortcut");
constexpr QLatin1StringView RemindersKey("remindersRungUntil");
// Far wider than any arrangement of screens, and well inside the range of the window system's pixels.
constexpr qreal LargestCoordinate = 1e6;

// Missing, non-numeric and non-finite values all read as 0, and so do values far beyond any desktop: a NaN
// or a huge coordinate would otherwise overflow the window system's integer pixels and place the panel
// anywhere.
qreal readNumber(const QSettings &settings, QLatin1StringView key)
{
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) && std::abs(value) <= LargestCoordinate ? value : 0.0;
}

} // namespace

PanelSettings::PanelSettings(QSettings *settings)
    : m_settings(settings)
{
}

std::optional<QString> PanelSettings::title() const
{
    if (!m_settings || !m_settings->contains(TitleKey))
        return std::nullopt;
    return m_settings->value(TitleKey).toString();
}

void PanelSettings::setTitle(const std::optional<QString> &title)
{
    if (!m_settings)
        return;
    if (title)
        m_settings->setValue(TitleKey, *title);
    else
        m_settings->remove(TitleKey);
    m_settings->sync();
}

std::optional<QRectF> PanelSettings::storedFrame() const
{
    if (!m_settings || !m_settings->contains(PanelXKey))
        return std::nullopt;
    return QRectF(readNumber(*m_settings, PanelXKey), readNumber(*m_settings, PanelYKey),
        readNumber(*m_settings, PanelWKey), readNumber(*m_settings, PanelHKey));
}

void PanelSettings::setStoredFrame(const QRectF &frame)
{
    if (!m_settings)
        return;
    m_settings->setValue(PanelXKey, frame.x());
    m_settings->setValue(PanelYKey, frame.y());
    m_settings->setValue(PanelWKey, frame.width());
    m_settings->setValue(PanelHKey, frame.height());
    m_settings->sync();
}

bool PanelSettings::clearsDoneGoalsEachDay() const
{
    const QVariant stored = m_settings ? m_settings->value(ClearingKey) : QVariant();
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    // The preferences file keeps it as text; QVariant would read any other text but "false" as on.
    return stored.typeId() == QMetaType::QString && stored.toString() == QLatin1StringView("true");
}

void PanelSettings::setClearsDoneGoalsEachDay(bool enabled)
{
    if (!m_settings)
        return;
    m_settings->setValue(ClearingKey, enabled);
    m_settings->sync();
}

std::optional<QDateTime> PanelSettings::lastDayStartCleared() const
{
    return readMoment(ClearedKey);
}

void PanelSettings::setLastDayStartCleared(const QDateTime &dayStart)
{
    writeMoment(ClearedKey, dayStart, Qt::ISODate);
}

std::optional<QDateTime> PanelSettings::remindersRungUntil() const
{
    return readMoment(RemindersKey);
}

void PanelSettings::setRemindersRungUntil(const QDateTime &moment)
{
    // To the millisecond: a ring put off by ten minutes falls between seconds.
    writeMoment(RemindersKey, moment, Qt::ISODateWithMs);
}

std::optional<QDateTime> PanelSettings::readMoment(QLatin1StringView key) const
{
    // Written in UTC with its Z; Qt would read a time without a zone as local time.
    const QString stored = m_settings ? m_settings->value(key).toString() : QString();
    if (!stored.endsWith(u'Z'))
        return std::nullopt;
    const QDateTime moment = QDateTime::fromString(stored, Qt::ISODateWithMs);
    return moment.isValid() ? std::optional(moment) : std::nullopt;
}

void PanelSettings::writeMoment(QLatin1StringView key, const QDateTime &moment, Qt::DateFormat format)
{
    if (!m_settings)
        return;
    m_settings->setValue(key, moment.toUTC().toString(format));
    m_settings->sync();
}

std::optional<NewGoalShortcut> PanelSettings::newGoalShortcut() const
{
    if (!m_settings || !m_settings->contains(ShortcutKey))
        return NewGoalShortcut::standard();
    const QVariant stored = m_settings->value(ShortcutKey);
    // Anything but text is damage; QVariant would read a list of several values as empty text, that is off.
    if (stored.typeId() != QMetaType::QString)
        return NewGoalShortcut::standard();
    // Switched off is kept as an empty value, which no combination ever writes.
    if (stored.toString().isEmpty())
        return std::nullopt;
    return NewGoalShortcut::fromText(stored.toString()).value_or(NewGoalShortcut::standard());
}

void PanelSettings::setNewGoalShortcut(const std::optional<NewGoalShortcut> &shortcut)
{
    if (!m_settings)
        return;
    m_settings->setValue(ShortcutKey, shortcut ? shortcut->text() : QString());
    m_settings->sync();
}
