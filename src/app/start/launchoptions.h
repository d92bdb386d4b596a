// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// What the command line and the environment select for one start of the panel.
struct LaunchOptions final {
    bool uiTesting = false;
    bool screenshotBackdrop = false;
    // The initial goals, one per line; read only in UI-testing mode.
    QString uiTestGoals;

    // Switches count only as exact whole arguments; "--ui-testing=1" selects nothing.
    static LaunchOptions fromArguments(const QStringList &arguments, const QString &uiTestGoals);
};

inline constexpr char16_t UiTestingArgument[] = u"--ui-testing";
inline constexpr char16_t ScreenshotBackdropArgument[] = u"--screenshot-backdrop";
// After it every argument is text, even one that looks like a switch.
inline constexpr char16_t EndOfSwitches[] = u"--";
inline constexpr char UiTestGoalsVariable[] = "UITEST_GOALS";
// The preferences suite of UI-testing runs, emptied at each such start.
inline constexpr char16_t UiTestingSuiteName[] = u"mirel-uitests";
