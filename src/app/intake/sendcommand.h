#pragma once

#include <QStringList>

#include <optional>

inline constexpr char16_t SendArgument[] = u"--send";
inline constexpr char16_t SendSelectionArgument[] = u"--send-selection";

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
