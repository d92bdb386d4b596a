// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

// `mirel --send [TEXT ...]`, `mirel --send-selection` and `mirel --new-goal` as the command line gives them:
// the requests that go to the running panel, starting it when none runs.
struct SendCommand final {
    // NewGoal sends no text: the panel takes the keyboard for the user to type one.
    enum class Source { Arguments, StandardInput, Selection, NewGoal };

    Source source = Source::StandardInput;
    QStringList texts;
    // `--remind-at`'s value as given: nothing without one, empty when the command line ends before its value.
    std::optional<QString> remindAtText;
    // The moment it names, once read; the goals sent then remind at it.
    QDateTime remindAt;
    // The run-mode switches, so the command reaches (or starts) the panel of the same mode.
    QStringList modeArguments;
    bool uiTesting = false;
};
