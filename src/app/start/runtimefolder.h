// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// The private folder for the panel's lock and socket is $XDG_RUNTIME_DIR. Where the session sets none (a
// login without a session manager, su, some containers), Qt falls back on a folder of its own and warns
// about it on every start. The program chooses the fallback itself, quietly, before Qt looks.
namespace RuntimeFolder
{

// Sets XDG_RUNTIME_DIR, when it is unset or empty, to the first usable of the user's own folders
// <temp>/mirel-runtime-<uid> and <cache>/mirel-runtime, made when missing: a real directory (no symbolic
// link) owned by the user and closed to everyone else, a folder of the user's own with wider rights being
// narrowed to 0700. Leaves it unset when neither is usable.
void chooseWhenUnset();

} // namespace RuntimeFolder
