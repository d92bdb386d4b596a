// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <optional>

// `mirel --connect-calendar URL --user NAME [--list NAME | --new-list NAME] [--trust-certificate FINGERPRINT]`,
// `mirel --disconnect-calendar` and `mirel --sync-status` as the command line gives them.
struct CalendarCommand final {
    enum class Action { Connect, Disconnect, Status };
    Action action = Action::Status;
    // The server's address or the task list's own, as typed.
    QString address;
    QString user;
    // The list to sync with by its name; only ever one the server has, so that a typo makes no list.
    std::optional<QString> listName;
    // A list to make on the server for the goals, by its name.
    std::optional<QString> newListName;
    // A certificate the system does not trust, trusted for this server by its SHA-256 fingerprint.
    QString trustedCertificate;
};
