// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "newgoalshortcut.h"

#include <QDateTime>
#include <QRectF>
#include <QString>

#include <optional>

class QSettings;

// The panel's preferences under the keys other versions read and write: its title, its frame, the daily
// clearing of done goals and the new-goal shortcut. A missing or garbage value reads as its default; every write is
// synced at once, so that a crash right after still keeps it.
class PanelSettings final
{
public:
    // Reads and writes through `settings`, which outlives this object; without one nothing is kept.
    explicit PanelSettings(QSettings *settings);

    // The stored title, or nothing while none was stored.
    std::optional<QString> title() const;
    // Stores a title, or removes it with nothing.
    void setTitle(const std::optional<QString> &title);

    // The frame as the keys hold it: points, origin at the bottom-left corner of the primary screen, y growing
    // upward, (x, y) the frame's bottom-left corner. Nothing while no frame was stored.
    std::optional<QRectF> storedFrame() const;
    void setStoredFrame(const QRectF &frame);

    // Off until the person turns it on; anything but a stored true reads as off.
    bool clearsDoneGoalsEachDay() const;
    void setClearsDoneGoalsEachDay(bool enabled);
    // The day start whose done goals were last cleared; nothing while none was, or the stored one is unreadable.
    std::optional<QDateTime> lastDayStartCleared() const;
    void setLastDayStartCleared(const QDateTime &dayStart);
    // The moment up to which the goals' reminders have rung on this computer; nothing while none has.
    std::optional<QDateTime> remindersRungUntil() const;
    void setRemindersRungUntil(const QDateTime &moment);

    // On with the standard combination until the person changes it; nothing while switched off. A stored
    // value that is not a usable combination reads as the standard one, so that a damaged file never leaves
    // the person without the key.
    std::optional<NewGoalShortcut> newGoalShortcut() const;
    void setNewGoalShortcut(const std::optional<NewGoalShortcut> &shortcut);

private:
    std::optional<QDateTime> readMoment(QLatin1StringView key) const;
    void writeMoment(QLatin1StringView key, const QDateTime &moment, Qt::DateFormat format);

    QSettings *m_settings = nullptr;
};
