// SPDX-License-Identifier: MIT
// The console window that Brelix gets when it is started by a double-click.
#pragma once

#include <windows.h>

// The line to leave in the console when the dialogue has ended with status,
// by selection 99 if selected99; nullptr if the console may close at once.
// processes is the number of processes attached to the console, typed
// whether standard input and output both are that console.
const wchar_t *closingline(DWORD processes, bool typed, int status, bool selected99);

// Widens a console of Brelix's own, in which the dialogue is typed, so that
// no menu line wraps, as far as the screen allows.
void widenwindow();

// In a console of Brelix's own, in which the dialogue was typed, after a
// dialogue that ended otherwise than by 99: writes the closing line there
// and waits for Enter.
void holdwindow(int status, bool selected99);
