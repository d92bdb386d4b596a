// SPDX-License-Identifier: GPL-3.0-or-later

#include "repeatwords.h"

#include <QCoreApplication>
#include <QStringList>

#include <array>

namespace RepeatWords
{

QString dayName(int day)
{
    // In the language of the panel's own texts, which the system's locale for dates need not share.
    static constexpr std::array<const char *, 7> Names = { QT_TRANSLATE_NOOP("RepeatWords", "Monday"),
        QT_TRANSLATE_NOOP("RepeatWords", "Tuesday"), QT_TRANSLATE_NOOP("RepeatWords", "Wednesday"),
        QT_TRANSLATE_NOOP("RepeatWords", "Thursday"), QT_TRANSLATE_NOOP("RepeatWords", "Friday"),
        QT_TRANSLATE_NOOP("RepeatWords", "Saturday"), QT_TRANSLATE_NOOP("RepeatWords", "Sunday") };
    return QCoreApplication::translate("RepeatWords", Names.at(std::size_t(day - 1)));
}

QString description(const GoalRepeat &repeat)
{
    switch (repeat.kind()) {
    case GoalRepeat::Kind::Never:
        return {};
    case GoalRepeat::Kind::EveryDay:
        return QCoreApplication::translate("RepeatWords", "repeats every day");
    case GoalRepeat::Kind::Weekdays:
        return QCoreApplication::translate("RepeatWords", "repeats on weekdays");
    case GoalRepeat::Kind::Weekly: {
        QStringList names;
        for (int day : repeat.days())
            names.append(dayName(day));
        QString days = names.takeLast();
        if (!names.isEmpty())
            days = QCoreApplication::translate("RepeatWords", "%1 and %2", "the last of a list of days")
                       .arg(names.join(QCoreApplication::translate("RepeatWords", ", ", "between days")), days);
        return QCoreApplication::translate("RepeatWords", "repeats on %1").arg(days);
    }
    case GoalRepeat::Kind::SetElsewhere:
        return QCoreApplication::translate("RepeatWords", "repeats as set elsewhere");
    }
    return {};
}

} // namespace RepeatWords
