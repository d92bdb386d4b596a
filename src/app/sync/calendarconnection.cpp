// SPDX-License-Identifier: GPL-3.0-or-later

#include "calendarconnection.h"

#include "calendaraccount.h"
#include "calendarsecret.h"
#include "sync/syncstatefile.h"

namespace CalendarConnection
{

void forget(QSettings &preferences, QObject *context, std::function<void()> done)
{
    const std::optional<CalendarAccount> account = CalendarAccount::read(preferences);
    CalendarAccount::forget(preferences);
    SyncStateFile::remove();
    if (!account) {
        done();
        return;
    }
    CalendarSecret::forget(
        account->secretKey(), context, [done = std::move(done)](const CalendarSecret::Outcome &) { done(); });
}

} // namespace CalendarConnection
