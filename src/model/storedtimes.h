// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QTime>

#include <optional>
#include <string_view>

// The times as the goals file keeps them, read strictly and written by hand: the file is read on every outside
// change and written on every save.
namespace StoredTimes
{

// An RFC 3339 internet date-time. Qt's ISO reader would also take 24:00, +hhmm and a comma before the fraction,
// and a time without a zone.
std::optional<QDateTime> parseDate(std::string_view text);
// "07:30": the hours and minutes of the local time of day a repeating goal's reminder keeps.
std::optional<QTime> parseTimeOfDay(std::string_view text);
// "2026-12-10": a whole day.
std::optional<QDate> parseDay(std::string_view text);

// In UTC, to the whole second (`createdAt`) or to the millisecond (`modifiedAt`), as the file keeps them; what
// is left out is cut, never rounded up, so the written time never lies after the instant. False, writing
// nothing, for a time outside the four-digit years.
bool appendDate(QByteArray &out, const QDateTime &instant, bool withMilliseconds);
// The day as "2026-12-10"; false, writing nothing, outside the four-digit years.
bool appendDay(QByteArray &out, QDate day);

} // namespace StoredTimes
