// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

#include <functional>

class QSettings;

namespace CalendarConnection
{

// Forgets the connected task list on this computer: the preferences, what the last sync left and the password
// in the Secret Service (`done` once that is gone too, `context` going first stopping it). The goals stay, and
// so do the server's tasks.
void forget(QSettings &preferences, QObject *context, std::function<void()> done);

} // namespace CalendarConnection
