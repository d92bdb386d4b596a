// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>

// Tells the running panel, if there is one, that the calendar connection changed, so that it takes it up at
// once; with a password when the desktop has no Secret Service to fetch it from.
namespace RunningPanel
{

// Whether a panel took the news.
bool tellCalendarChanged(const QByteArray &password = {});

} // namespace RunningPanel
