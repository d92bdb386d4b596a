// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct PanelAddress;
struct SendCommand;

namespace IntakeClient
{

// Runs a send command to its end and returns the process's exit status: 0 once the panel has added and
// saved the goals, 1 with a message on standard error when the text could not be delivered, 3 with a message
// when the panel added the goals but could not write them to its goals file. Creates its
// own application object; a display is opened only to read the selection.
int run(int &argc, char **argv, const SendCommand &command);

// A second plain start: asks the panel that holds the lock to come to the front, and returns the exit status.
int bringPanelToFront(int &argc, char **argv, const PanelAddress &address);

} // namespace IntakeClient
