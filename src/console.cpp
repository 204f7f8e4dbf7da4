// SPDX-License-Identifier: MIT
// Numbers travel over the console as white-space separated decimals with a
// point, read by Brelix's own rules below, whatever the C++ library, and are
// written with six significant digits. Output is flushed before every read,
// so the prompt is on the screen while the program waits for an answer.
//
// A read or write that fails is no answer the user gave: it is reported once
// on standard error, and the dialogue stops with status 2. Nothing else is
// ever written there.
#include "console.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

// What one read of a number came to.
enum class answer { number, wrong, end, error };

bool ended = false;   // the input has ended; nothing more is read from it
bool failed = false;  // a read or a write has failed and been reported
bool refused = false; // an answer was refused, so the run cannot end with 0
bool stop = false;    // a read has ended the dialogue

// Correct rounding to a float never needs more significant digits than the
// longest boundary between two roundings has: a midpoint between two floats,
// m * 2^e with m odd, m < 2^25 and e >= -150. Its digits are those of
// m * 5^-e, and (2^25 - 1) * 5^150, just below 2^-125, has 113 of them. A
// longer number is read as its first 113 digits and, if a dropped digit is
// not zero, a 1 behind them: that moves it less than one unit of the 113th
// digit, so never across such a midpoint.
constexpr int maxdigits = 113;

// An exponent saturates here: far beyond any float, and beyond the number of
// digits any input could have, which move the decimal point by one each.
constexpr long long maxexponent = 1000000000000000;

// Writes "brelix: what: reason" on standard error, for the errno that the
// failing read or write left.
void report(const char *what)
{
    const int error = errno != 0 ? errno : EIO;
    if (!failed)
        std::fprintf(stderr, "brelix: %s: %s\n", what, std::strerror(error));
    failed = true;
}

// Flushes standard output; false once a read or a write has failed.
bool flushed()
{
    if (!std::cout.flush())
        report("Schreibfehler");
    return !failed;
}

// The next character of standard input, left unread; EOF at the end of the
// input or once a read has failed.
int peek()
{
    if (ended || failed)
        return EOF;
    try {
        const int c = std::cin.rdbuf()->sgetc();
        if (c != EOF)
            return c;
    } catch (const std::ios_base::failure &) {
        // libstdc++'s file buffer throws when read(2) fails.
        report("Lesefehler");
        return EOF;
    }
    // libc++ reads through stdio, which returns a failed read as the end of
    // the input but remembers the error.
    if (std::ferror(stdin) != 0)
        report("Lesefehler");
    ended = true;
    return EOF;
}

// Takes the next character if it is one of chars, as peek has seen it.
bool take(const char *chars)
{
    const int c = peek();
    if (c == EOF || c == '\0' || std::strchr(chars, c) == nullptr)
        return false;
    std::cin.rdbuf()->sbumpc();
    return true;
}

// Takes a digit and returns it, or returns -1.
int digit()
{
    const int c = peek();
    if (c < '0' || c > '9')
        return -1;
    std::cin.rdbuf()->sbumpc();
    return c;
}

// The number being read: its significant digits, the power of ten that
// scales them as an integer, and what its grammar has seen so far.
struct numeral {
    char text[maxdigits + 24]; // "[-]DIGITS[1]e[-]SCALE" for strtof
    int length = 0, start = 0; // start: where the digits begin, after a sign
    long long scale = 0;
    bool taken = false, mantissa = false, dropped = false, complete = false;
};

// Digits with at most one point among them. Leading zeros are no
// significant digits, and digits past the bound are only counted and noted.
void mantissa(numeral &n)
{
    for (bool point = false;;) {
        const int c = digit();
        if (c < 0) {
            if (point || !take("."))
                return;
            point = n.taken = true;
            continue;
        }
        n.mantissa = true;
        if (n.length - n.start == maxdigits) {
            n.dropped = n.dropped || c != '0';
            n.scale += point ? 0 : 1;
        } else {
            if (c != '0' || n.length > n.start)
                n.text[n.length++] = char(c);
            n.scale -= point ? 1 : 0;
        }
    }
}

// An exponent marker, only after something was taken, then an optional sign
// and digits.
void exponent(numeral &n)
{
    if (!n.taken || !take("eE"))
        return;
    const bool negative = take("-");
    if (!negative)
        take("+");
    long long value = 0;
    bool digits = false;
    for (int c; (c = digit()) >= 0; digits = true)
        value = std::min(value * 10 + (c - '0'), maxexponent);
    n.complete = n.complete && digits;
    n.scale += negative ? -value : value;
}

// Reads one number by the grammar: white space, a sign, digits with at most
// one point, an exponent. The first character that cannot continue the
// number is left unread. A number directly followed by a comma was meant as
// a decimal comma, and one too large for a float is no value: both are wrong
// answers. A broken number that runs up to the end of the input is that end.
answer readnum(float &value)
{
    while (take(" \t\n\v\f\r")) {
    }
    numeral n;
    if (take("-")) {
        n.text[0] = '-';
        n.length = n.start = 1;
    }
    n.taken = n.length > 0 || take("+");
    mantissa(n);
    n.taken = n.taken || n.mantissa;
    n.complete = n.mantissa;
    exponent(n);
    const int next = peek();
    if (failed)
        return answer::error;
    if (!n.complete)
        return next == EOF ? answer::end : answer::wrong;
    if (next == ',')
        return answer::wrong;
    if (n.length == n.start)
        n.text[n.length++] = '0';
    if (n.dropped) {
        // Stands for the dropped digits, which are not all zero.
        n.text[n.length++] = '1';
        --n.scale;
    }
    std::snprintf(n.text + n.length, sizeof n.text - std::size_t(n.length), "e%lld", n.scale);
    const float read = std::strtof(n.text, nullptr);
    if (std::isinf(read))
        return answer::wrong;
    value = read;
    return answer::number;
}

// Discards the rest of the line, up to its line feed, which the next read
// skips as white space; false if the read failed.
bool discardline()
{
    for (int c = peek(); c != EOF && c != '\n'; c = peek())
        std::cin.rdbuf()->sbumpc();
    return !failed;
}

} // namespace

void initconsole()
{
    // Synchronised with stdio, the streams take every character read through
    // a call of their own; their own buffers make a batch cheap. The prompt
    // still shows, since asknum flushes before it reads.
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
}

void writetext(const char *text)
{
    std::cout << text;
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
// the rest of its line discarded, the hint written and the prompt asked
// again; the end of the input or a failure stops the dialogue.
bool asknum(const char *prompt, float &value)
{
    for (;;) {
        writetext(prompt);
        if (!flushed())
            break;
        const answer read = readnum(value);
        if (read == answer::number)
            return true;
        if (read != answer::wrong)
            break;
        refused = true;
        if (!discardline())
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
