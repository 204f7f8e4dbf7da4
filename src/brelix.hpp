// SPDX-License-Identifier: MIT
// The dialogue loop: menu, selection and dispatch to the calculations.
#pragma once

// The last selection read at the menu.
extern float sel1;

// Writes the menu.
void intro1();

// Runs the whole dialogue over the standard streams, from the banner to
// selection 99 or the end of input, and returns the exit status: 0 when the
// user is done, 1 when input ended in the middle of a calculation or an
// answer was refused, 2 when a read or a write failed.
int dialog1();
