// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// What the command line and the environment select for one start of the panel.
struct LaunchOptions final {
    bool uiTesting = false;
    bool screenshotBackdrop = false;
    // The initial goals, one per line; read only in UI-testing mode.
    QString uiTestGoals;
};

inline constexpr char UiTestGoalsVariable[] = "UITEST_GOALS";
// The preferences suite of UI-testing runs, emptied at each such start.
inline constexpr char16_t UiTestingSuiteName[] = u"mirel-uitests";
