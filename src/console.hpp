// SPDX-License-Identifier: MIT
// Console dialogue: Latin-1 texts and single-precision numbers over the
// standard streams.
#pragma once

// Unties the standard streams from C stdio, for speed; main calls it first.
void initconsole();

// Writes text to standard output byte for byte, adding nothing.
void writetext(const char *text);

// Writes value in the general notation with six significant digits.
void writenum(float value);

// Writes prompt and reads the next number into value. Input that is no
// number, or a number directly followed by a comma, has the rest of its line
// discarded, a hint written and the prompt asked again. Returns false,
// leaving value as it was, at the end of input or after a read or write error.
bool asknum(const char *prompt, float &value);

// True once the dialogue cannot go on: the input has ended, or a read or a
// write has failed.
bool stopped();

// Flushes standard output and returns status, or 2 if a read or a write has
// failed; such a failure has been reported on standard error.
int exitstatus(int status);
