// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <iterator>
#include <optional>

// Every switch of the program's, declared once: the parser, the help and the check of each argument's spelling
// all read them here.
namespace CommandLineSwitches
{

enum class Switch {
    Send,
    RemindAt,
    SendSelection,
    NewGoal,
    ConnectCalendar,
    User,
    List,
    NewList,
    TrustCertificate,
    DisconnectCalendar,
    SyncStatus,
    UiTesting,
    ScreenshotBackdrop,
    Help,
    Version,
};

struct Declared {
    QStringView name;
    QStringView shortName = {};
    QStringView valueName = {};
    // Its line in the help; none where another switch's line tells it.
    QStringView synopsis = {};
    const char *description = nullptr;
};

// Every switch the program knows, in the order the help lists them and indexed by Switch.
inline constexpr Declared Switches[] = {
    { .name = u"send",
        .synopsis = u"--send [TEXT ...]",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Add each TEXT (else each input line) as a goal") },
    { .name = u"remind-at",
        .valueName = u"TIME",
        .synopsis = u"--send TEXT --remind-at TIME",
        .description
        = QT_TRANSLATE_NOOP("CommandLine", "Add the goals with a reminder at TIME: 15:00 or \"2026-12-10 09:00\"") },
    { .name = u"send-selection",
        .synopsis = u"--send-selection",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Add each line of the selected text as a goal") },
    { .name = u"new-goal",
        .synopsis = u"--new-goal",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Give the panel the keyboard to type a new goal") },
    { .name = u"connect-calendar",
        .valueName = u"URL",
        .synopsis = u"--connect-calendar URL --user NAME [--list NAME | --new-list NAME]",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Sync the goals with a task list on a calendar server") },
    { .name = u"user", .valueName = u"NAME" },
    { .name = u"list", .valueName = u"NAME" },
    { .name = u"new-list", .valueName = u"NAME" },
    { .name = u"trust-certificate", .valueName = u"FINGERPRINT" },
    { .name = u"disconnect-calendar",
        .synopsis = u"--disconnect-calendar",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Stop syncing; the goals stay here") },
    { .name = u"sync-status",
        .synopsis = u"--sync-status",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Show the sync's state; exit 0 when in sync") },
    { .name = u"ui-testing",
        .synopsis = u"--ui-testing",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Run on emptied test settings, goals from UITEST_GOALS") },
    { .name = u"screenshot-backdrop",
        .synopsis = u"--screenshot-backdrop",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Centre the panel before a gradient, for screenshots") },
    { .name = u"help",
        .shortName = u"h",
        .synopsis = u"-h, --help",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Show this help and exit") },
    { .name = u"version",
        .shortName = u"v",
        .synopsis = u"-v, --version",
        .description = QT_TRANSLATE_NOOP("CommandLine", "Show the version and exit") },
};

static_assert(std::size(Switches) == std::size_t(Switch::Version) + 1, "one declaration per switch");

// The switches that stand anywhere among the panel's and the sending commands' switches.
inline constexpr Switch ModeSwitches[] = { Switch::UiTesting, Switch::ScreenshotBackdrop };
inline constexpr Switch CommandSwitches[] = { Switch::Send, Switch::SendSelection, Switch::NewGoal };
inline constexpr Switch CalendarSwitches[]
    = { Switch::ConnectCalendar, Switch::DisconnectCalendar, Switch::SyncStatus };
inline constexpr Switch InfoSwitches[] = { Switch::Help, Switch::Version };
inline constexpr Switch ConnectSwitches[]
    = { Switch::ConnectCalendar, Switch::User, Switch::List, Switch::NewList, Switch::TrustCertificate };

const Declared &declared(Switch id);
// "--name".
QString spelled(Switch id);
// The switch of that long or short name.
std::optional<Switch> switchNamed(QStringView name);

bool isOneOf(const auto &value, const auto &values)
{
    return std::find(std::begin(values), std::end(values), value) != std::end(values);
}

// Whether the argument is exactly the long form of one of `ids`.
std::optional<Switch> isSpelledOneOf(QStringView argument, const auto &ids)
{
    const auto at
        = std::find_if(std::begin(ids), std::end(ids), [argument](Switch id) { return argument == spelled(id); });
    return at == std::end(ids) ? std::nullopt : std::optional(*at);
}

} // namespace CommandLineSwitches
