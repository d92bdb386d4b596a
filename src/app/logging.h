// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLoggingCategory>

// What the program tells the person who started it on standard error. Qt's default message pattern puts the
// category's name first, so every line reads "mirel: …".
Q_DECLARE_LOGGING_CATEGORY(lcMirel)
