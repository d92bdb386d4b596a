// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct CalendarCommand;

// `mirel --connect-calendar`, `--disconnect-calendar` and `--sync-status`, each run to its end, with the panel
// running or not. The preferences and the state folder hold what they change and read; a running panel is
// told and takes it up at once.
namespace CalendarCommandRun
{

int run(int &argc, char **argv, const CalendarCommand &command);

} // namespace CalendarCommandRun
