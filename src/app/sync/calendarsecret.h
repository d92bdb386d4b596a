// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>

#include <functional>

// The calendar password in the desktop's Secret Service (GNOME Keyring, KWallet), never in a file.
namespace CalendarSecret
{

struct Outcome {
    QString password;
    // Why the keyring could not do it, in the person's words (never D-Bus's); empty when it did.
    QString failure;
};

// Each calls `done` once, on the main thread, `context` going first stopping it.
void read(const QString &key, QObject *context, std::function<void(const Outcome &)> done);
void write(const QString &key, const QString &password, QObject *context, std::function<void(const Outcome &)> done);
void forget(const QString &key, QObject *context, std::function<void(const Outcome &)> done);

} // namespace CalendarSecret
