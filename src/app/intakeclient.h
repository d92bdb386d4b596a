#pragma once

#include <QStringList>

#include <optional>

struct PanelAddress;

// `mirel --send [TEXT ...]` and `mirel --send-selection`, read from the command line.
struct SendCommand final {
    enum class Source { Arguments, StandardInput, Selection };

    Source source = Source::StandardInput;
    QStringList texts;
    // The run-mode switches, so the command reaches (or starts) the panel of the same mode.
    QStringList modeArguments;

    bool uiTesting() const;
    // Nothing when the command line asks for no sending. The run-mode switches count anywhere before a
    // "--"; everything else after "--send" is text.
    static std::optional<SendCommand> fromArguments(const QStringList &arguments);
};

namespace IntakeClient
{

// Runs a send command to its end and returns the process's exit status: 0 once the panel has added and
// saved the goals, 1 with a message on standard error when the text could not be delivered. Creates its
// own application object; a display is opened only to read the selection.
int run(int &argc, char **argv, const SendCommand &command);

// A second plain start: asks the panel that holds the lock to come to the front, and returns the exit status.
int bringPanelToFront(int &argc, char **argv, const PanelAddress &address);

} // namespace IntakeClient
