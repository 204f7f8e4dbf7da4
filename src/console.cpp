// SPDX-License-Identifier: MIT
// Numbers travel over the console as white-space separated decimals with a
// point, read by the rules below whatever the C++ library, and are written
// with six significant digits. Output is flushed before every read, so the
// prompt is on the screen while the program waits for an answer.
//
// A read or write that fails is no answer the user gave: it is reported once
// on standard error, the only text ever written there, and the dialogue
// stops with status 2.
#include "console.hpp"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

namespace {

// What one read of a number came to.
enum class answer { number, wrong, end, error };

bool ended = false;   // the input has ended; nothing more is read from it
bool failed = false;  // a read or a write has failed and been reported
bool refused = false; // an answer was refused, so the run cannot end with 0
bool stop = false;    // a read has ended the dialogue

// Correct rounding to a float never needs more significant digits than the
// longest midpoint between two floats has: m * 2^e with m odd, m < 2^25 and
// e >= -150, whose digits are those of m * 5^-e; (2^25 - 1) * 5^150, just
// below 2^-125, has 113. A longer number is read as its first 113 digits
// and, if a dropped one is not zero, a 1 behind them: that moves it less
// than one unit of the 113th digit, so never across a midpoint.
constexpr int maxdigits = 113;

// The number being read, as strtof will see it, "[-]DIGITS[1]e[-]SCALE":
// its significant digits as an integer, scaled by a power of ten. Twice
// the digits leave ample room for the sign and the scale.
char token[maxdigits + maxdigits];
int length, start;  // characters in token; where its digits begin
long long scale;    // the power of ten
bool taken, digits; // a character, a digit of the mantissa was taken
bool dropped;       // a digit past the bound was not zero

// Writes "brelix: what: reason" on standard error, for the errno that the
// failing read or write left.
void report(const char *what)
{
    if (!failed)
        std::fprintf(stderr, "brelix: %s: %s\n", what, std::strerror(errno));
    failed = true;
}

// Flushes standard output; false once a read or a write has failed.
bool flushed()
{
    if (std::fflush(stdout) != 0)
        report("Schreibfehler");
    return !failed;
}

// Takes the next character of standard input; EOF at the end of the input
// or once a read has failed. The C library reads what the terminal or pipe
// has ready, so a read never waits for more than the next character. The
// end is remembered here: Windows' C library would read on after Ctrl+Z.
int nextchar()
{
    if (ended || failed)
        return EOF;
    const int c = std::getc(stdin);
    if (c == EOF && std::ferror(stdin) != 0)
        report("Lesefehler");
    ended = c == EOF;
    return c;
}

// Takes the next character and returns it if it is one of chars; else
// returns 0 and puts it back (putting back EOF changes nothing).
int take(const char *chars)
{
    const int c = nextchar();
    for (; *chars != '\0'; ++chars)
        if (c == *chars)
            return c;
    std::ungetc(c, stdin);
    return 0;
}

// The next character, left unread.
int peek()
{
    const int c = nextchar();
    std::ungetc(c, stdin);
    return c;
}

// Digits with at most one point among them. Leading zeros are not
// significant, and digits past the bound only move the point.
void mantissa()
{
    for (bool point = false;;) {
        if (!point && take(".") != 0)
            point = taken = true;
        const int c = take("0123456789");
        if (c == 0)
            return;
        digits = taken = true;
        if (length - start == maxdigits) {
            dropped = dropped || c != '0';
            scale += point ? 0 : 1;
        } else {
            if (c != '0' || length > start)
                token[length++] = char(c);
            scale -= point ? 1 : 0;
        }
    }
}

// An exponent marker, only after something was taken, then an optional sign
// and digits; false if the digits are missing. The exponent stops growing
// where another digit could overflow it: far beyond any float, and beyond
// the length of any input, whose digits move the point by one each.
bool exponent()
{
    if (!taken || take("eE") == 0)
        return true;
    const bool negative = take("+-") == '-';
    long long value = 0;
    bool any = false;
    for (int c; (c = take("0123456789")) != 0; any = true)
        value = value < std::numeric_limits<long long>::max() / 10 ? value * 10 + (c - '0') : value;
    scale += negative ? -value : value;
    return any;
}

// Reads one number: white space, a sign, a mantissa, an exponent, up to the
// first character that cannot continue it, which is left unread. A number
// directly followed by a comma was meant with a decimal comma, and one too
// large for a float has no value: both are wrong answers. A broken number
// that runs up to the end of the input is that end.
answer readnum(float &value)
{
    while (take(" \t\n\v\f\r") != 0) {
    }
    token[0] = '-';
    length = start = take("-") != 0 ? 1 : 0;
    taken = length > 0 || take("+") != 0;
    digits = dropped = false;
    scale = 0;
    mantissa();
    const bool complete = exponent() && digits;
    const int next = peek();
    if (failed)
        return answer::error;
    if (!complete)
        return next == EOF ? answer::end : answer::wrong;
    if (next == ',')
        return answer::wrong;
    if (length == start)
        token[length++] = '0';
    if (dropped) {
        token[length++] = '1';
        --scale;
    }
    token[length++] = 'e';
    *std::to_chars(token + length, std::end(token), scale).ptr = '\0';
    const float read = std::strtof(token, nullptr);
    if (std::isinf(read))
        return answer::wrong;
    value = read;
    return answer::number;
}

} // namespace

// A terminal's output goes out line by line, so a write can fail here,
// and the C library then drops what it held: the failure is reported now.
void writetext(const char *text)
{
    if (std::fputs(text, stdout) == EOF)
        report("Schreibfehler");
}

// Some processors drop a NaN's sign when they widen a float to double
// (RISC-V does), so a NaN is written from the float itself.
void writenum(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(value));
    writetext(std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan") : text);
}

// The one place that answers a read: a number is stored; a wrong answer has
// the rest of its line discarded, line feed and all, the hint written and
// the prompt asked again; the end of the input or a failure stops the
// dialogue.
bool asknum(const char *prompt, float &value)
{
    for (;;) {
        writetext(prompt);
        const answer read = flushed() ? readnum(value) : answer::error;
        if (read == answer::number)
            return true;
        if (read != answer::wrong)
            break;
        refused = true;
        for (int c = nextchar(); c != EOF && c != '\n';)
            c = nextchar();
        if (failed)
            break;
        writetext("\nUng\xFC"
                  "ltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n");
    }
    stop = true;
    return false;
}

bool stopped()
{
    return stop;
}

int exitstatus(int status)
{
    if (!flushed())
        status = 2;
    else if (refused)
        status = 1;
    ended = failed = refused = stop = false;
    return status;
}
