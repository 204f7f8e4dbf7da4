// SPDX-License-Identifier: MIT
// Console dialogue: Latin-1 texts and single-precision numbers over the
// standard streams.
#pragma once

// Writes text to standard output byte for byte, adding nothing.
void writetext(const char *text);

// Writes value in the general notation with six significant digits.
void writenum(float value);

// Writes prompt, flushes, and reads the next number into value. Input that
// is no number, a number too large for a float, or a number directly followed
// by a comma has the rest of its line discarded, a hint written and the
// prompt asked again. Returns false, leaving value as it was, at the end of
// input or after a read or write error.
bool asknum(const char *prompt, float &value);

// True once a read has returned false: the dialogue cannot go on.
bool stopped();

// Flushes standard output and returns the exit status of the dialogue that
// ends here: 2 if a read or a write has failed (reported on standard error),
// else 1 if an answer was refused, else status. The console is then as at
// the start, ready for another dialogue in the same process.
int exitstatus(int status);
