// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

#include <optional>

class QSettings;

// The task list a person's goals are synced with, as the preferences keep it; the password is in the desktop's
// Secret Service, never here.
struct CalendarAccount final {
    // The address the person gave, the server's or the list's own.
    QUrl server;
    QUrl taskList;
    QString listName;
    QString user;
    // The SHA-256 fingerprint of the one certificate the person trusted for this server although the system
    // does not; empty when the system's trust is enough.
    QString trustedCertificate;

    // A server's address as the person typed it; a bare host name means HTTPS, the only scheme a server
    // elsewhere is reached by.
    static QUrl serverAddress(const QString &typed);

    // The Secret Service entry of the password.
    QString secretKey() const;

    // Nothing while no list is connected, or the stored one is unusable (then the panel does not sync).
    static std::optional<CalendarAccount> read(QSettings &settings);
    void write(QSettings &settings) const;
    static void forget(QSettings &settings);
};
