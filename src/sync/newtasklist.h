// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "davhttp.h"

#include <QString>
#include <QUrl>

#include <optional>

// A task list of the person's own made on the server: a calendar collection under their calendar home that
// takes tasks only, with the name they gave it.
namespace NewTaskList
{

// MKCALENDAR at a fresh address under `home`, so that it can never land on a list that exists.
DavRequest request(const QUrl &home, const QString &displayName);

// Why the server did not make the list, or nothing when it did.
std::optional<QString> refusal(const DavReply &reply);

} // namespace NewTaskList
