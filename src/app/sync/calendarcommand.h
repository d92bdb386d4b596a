// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <variant>

inline constexpr char16_t ConnectCalendarArgument[] = u"--connect-calendar";
inline constexpr char16_t DisconnectCalendarArgument[] = u"--disconnect-calendar";
inline constexpr char16_t SyncStatusArgument[] = u"--sync-status";

// `mirel --connect-calendar URL --user NAME [--list NAME | --new-list NAME] [--trust-certificate FINGERPRINT]`,
// `mirel --disconnect-calendar` and `mirel --sync-status`, read from the command line.
struct CalendarCommand final {
    enum class Action { Connect, Disconnect, Status };
    Action action = Action::Status;
    // The server's address or the task list's own.
    QUrl url;
    QString user;
    // The list to sync with by its name; only ever one the server has, so that a typo makes no list.
    std::optional<QString> listName;
    // A list to make on the server for the goals, by its name.
    std::optional<QString> newListName;
    // A certificate the system does not trust, trusted for this server by its SHA-256 fingerprint.
    QString trustedCertificate;

    // Nothing when the command line asks for none of these; a text saying what is wrong with it when it asks
    // for one but cannot be followed.
    static std::optional<std::variant<CalendarCommand, QString>> fromArguments(const QStringList &arguments);
};
