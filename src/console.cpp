// SPDX-License-Identifier: MIT
// Numbers travel over the console as the standard streams read and write
// a float in the classic locale: white-space separated, a point for the
// decimal, six significant digits on output. Output is flushed before every
// read, so the prompt is on the screen while the program waits for an answer.
//
// A read or write that fails is no answer the user gave: it is reported once
// on standard error, and the dialogue stops with status 2. Nothing else is
// ever written there.
#include "console.hpp"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>

static bool failed = false;

// Writes "brelix: what: reason" on standard error, for the errno that the
// failing read or write left.
static void report(const char *what)
{
    const int error = errno != 0 ? errno : EIO;
    if (!failed)
        std::cerr << "brelix: " << what << ": " << std::strerror(error) << '\n';
    failed = true;
}

// Reports a read error; the streams tell one apart from the end of input by
// the bad bit, which a failing read(2) sets and the end of input never does.
static bool readfailed()
{
    if (std::cin.bad())
        report("Lesefehler");
    return failed;
}

// Flushes standard output; false once a read or a write has failed.
static bool flushed()
{
    if (!std::cout.flush())
        report("Schreibfehler");
    return !failed;
}

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

// The stream widens a float to double, and some processors drop a NaN's sign
// when they do (RISC-V does), so a NaN is written from the float itself.
void writenum(float value)
{
    if (std::isnan(value))
        writetext(std::signbit(value) ? "-nan" : "nan");
    else
        std::cout << value;
}

// The stream takes an exponent marker only after a digit, so it stops at
// the "e" of "+e5" or ".E-". Those characters still belong to the broken
// number: takes them, and says whether they run up to the end of input,
// which makes the broken number an end of input rather than garbage.
static bool brokenexponentatend(int first)
{
    int c = std::cin.peek();
    if ((first != '+' && first != '-' && first != '.') || (c != 'e' && c != 'E'))
        return false;
    std::cin.get();
    c = std::cin.peek();
    if (c == '+' || c == '-') {
        std::cin.get();
        c = std::cin.peek();
    }
    while (c >= '0' && c <= '9') {
        std::cin.get();
        c = std::cin.peek();
    }
    return c == std::char_traits<char>::eof();
}

// The character after what the stream has just read, or EOF once the stream
// has failed or ended. A stream still good has looked at that character
// already, so it is in the buffer, and no read is needed that could fail.
static int lookahead()
{
    return std::cin.good() ? std::cin.rdbuf()->sgetc() : std::char_traits<char>::eof();
}

bool asknum(const char *prompt, float &value)
{
    for (;;) {
        writetext(prompt);
        if (!flushed())
            return false;
        // The sentry skips white space, as the number's own read would, so
        // that the first character of the answer can be told.
        const std::istream::sentry skip(std::cin);
        const int first = lookahead();
        float read = 0;
        std::cin >> read;
        // A number directly followed by a comma is a decimal comma: the user
        // meant 25,5, and 25 would be the wrong value.
        if (!std::cin.fail() && lookahead() != ',') {
            value = read;
            return true;
        }
        if (readfailed())
            return false;
        // A number too large for a float arrives as the largest float with
        // the fail bit; it is a wrong answer, even at the end of input.
        const bool overflow = std::fabs(read) == std::numeric_limits<float>::max();
        if (std::cin.eof() && !overflow)
            return false;
        std::cin.clear();
        const bool atend = brokenexponentatend(first);
        if (!atend)
            std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        if (readfailed())
            return false;
        if (atend) {
            std::cin.setstate(std::ios::failbit);
            return false;
        }
        writetext("\nUng\xFC"
                  "ltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n");
    }
}

bool stopped()
{
    return std::cin.fail() || failed;
}

int exitstatus(int status)
{
    return flushed() ? status : 2;
}
