// Console dialogue: Latin-1 texts and single-precision numbers over the
// standard streams.
#pragma once

// Writes text to standard output byte for byte, adding nothing.
void writetext(const char *text);

// Writes value in the general notation with six significant digits.
void writenum(float value);

// Writes prompt and reads the next number into value. Input that is no
// number has the rest of its line discarded, a hint written and the prompt
// asked again. Returns false, leaving value as it was, at the end of input.
bool asknum(const char *prompt, float &value);

// True once a read has run into the end of standard input.
bool inputended();
