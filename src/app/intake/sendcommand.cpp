// SPDX-License-Identifier: GPL-3.0-or-later

#include "sendcommand.h"

#include "app/start/launchoptions.h"

bool SendCommand::uiTesting() const
{
    return modeArguments.contains(QStringView(UiTestingArgument));
}

std::optional<SendCommand> SendCommand::fromArguments(const QStringList &arguments)
{
    std::optional<SendCommand> command;
    bool switchesEnded = false;
    QStringList modeArguments;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!switchesEnded && (argument == UiTestingArgument || argument == ScreenshotBackdropArgument)) {
            modeArguments.append(argument);
        } else if (!switchesEnded && argument == EndOfSwitches) {
            switchesEnded = true;
        } else if (!command && argument == SendArgument) {
            command.emplace();
        } else if (!command && argument == SendSelectionArgument) {
            command.emplace().source = Source::Selection;
        } else if (!command && argument == NewGoalArgument) {
            command.emplace().source = Source::NewGoal;
        } else if (command && !switchesEnded && argument == RemindAtArgument && command->source != Source::Selection
            && command->source != Source::NewGoal) {
            command->remindAtText = i + 1 < arguments.size() ? arguments.at(++i) : QString();
        } else if (command && command->source != Source::Selection && command->source != Source::NewGoal) {
            command->texts.append(argument);
            command->source = Source::Arguments;
        }
    }
    if (command)
        command->modeArguments = modeArguments;
    return command;
}
