// SPDX-License-Identifier: MIT
#include "console.hpp"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <fcntl.h>

#include <gtest/gtest.h>

#include "console_redirect.hpp"

namespace {

const float fltmax = std::numeric_limits<float>::max();
const std::string hint = "\nUng\xFC"
                         "ltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n";

const std::string zeros(100, '0');

// input, number read (-7: the input ended first), wrong answers before it,
// input left unread
const struct {
    std::string input;
    float value;
    int hints;
    const char *rest;
} readcases[] = {
    {"1", 1, 0, ""},
    {"1.0 ", 1, 0, " "},
    {"01\n", 1, 0, "\n"},
    {"+1", 1, 0, ""},
    {"1e0", 1, 0, ""},
    {".5", 0.5f, 0, ""},
    {"5.", 5, 0, ""},
    {" \n\t\v\f\r-0", -0.0f, 0, ""},
    {"25 ,5\n", 25, 0, " ,5\n"},
    {"25abc", 25, 0, "abc"},
    {"12a", 12, 0, "a"},
    {"1p3", 1, 0, "p3"},
    {"25,5 7\n-1.5e1,\n8", 8, 2, ""},
    {"1.5.3", 1.5f, 0, ".3"},
    {"1e5e3", 1e5f, 0, "e3"},
    {"2E-1x", 0.2f, 0, "x"},
    {"0x1p3", 0, 0, "x1p3"},
    {"-1e-50", -0.0f, 0, ""},
    {"3.4028235e38", fltmax, 0, ""},
    {"abc def\n7 8", 7, 1, " 8"},
    {",5 9\n.\n-\n+ 1\ninf\nnan\nNAN\n2", 2, 7, ""},
    {std::string("\0 5\n2", 5), 2, 1, ""},
    {"1e\n1e+ 3\n+e5\n.E-4 x\n2", 2, 4, ""},
    {"1e39\n-3.4028236e38 5\n3", 3, 2, ""},
    // Exponents of any length, one a digit past the largest long long / 10,
    // and digits past the 113 that can matter.
    {"1e9223372036854775809\n-1e-99999999999999999999", -0.0f, 1, ""},
    {"0e99999999999999999999", 0, 0, ""},
    {"1" + zeros + zeros + "e-191", 1e9f, 0, ""},
    {"0.00000" + zeros + "7e100", 0xeae18bp-41f, 0, ""},
    // Near ties: just beyond the midpoint between two floats, by digits
    // past the 113th (in the second, only its 114th); read as the float
    // beyond it.
    {"1.000000059604644775390625" + zeros + "1", 0x800001p-23f, 0, ""},
    {"0." + zeros + "1000000059604644775390625" + std::string(88, '0') + "1e101", 0x800001p-23f, 0, ""},
    {"-0.00000000000000000000000000000000000002350988631579651799696619"
     "5282580121911415245495310779491917148247034203244199002114100949256680905818939208984375"
     "00000000001",
     -0x1p-125f, 0, ""},
    // The input ends first, also inside a broken number.
    {" \n\t", -7, 0, ""},
    {"1e", -7, 0, ""},
    {"-", -7, 0, ""},
    {"+e5", -7, 0, ""},
    {"-e5", -7, 0, ""},
    {"+e+", -7, 0, ""},
    {"+e0", -7, 0, ""},
    {"+e9", -7, 0, ""},
    {".E-", -7, 0, ""},
    {"e5", -7, 1, ""},
    {"1e39", -7, 1, ""},
    {"-1e39", -7, 1, ""},
    {"25,", -7, 1, ""},
};

// Each prompt is flushed before its answer is read, and a refused answer
// makes the exit status 1.
TEST(ReadNumber, FollowsTheNumberSyntaxAndAsksAgainAfterGarbage)
{
    for (const auto &c : readcases) {
        float value = -7;
        bool read = false, stop = false;
        std::string written, rest;
        int status = -1;
        {
            ConsoleRedirect console(c.input);
            read = asknum("P", value);
            stop = stopped();
            written = console.written();
            rest = ConsoleRedirect::rest();
            status = exitstatus(0);
        }
        EXPECT_EQ(read, c.value != -7) << c.input;
        EXPECT_EQ(stop, c.value == -7) << c.input;
        EXPECT_EQ(value, c.value) << c.input;
        EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.input;
        std::string prompts = "P";
        for (int i = 0; i < c.hints; ++i)
            prompts += hint + "P";
        // The last prompt was flushed before its answer was read.
        EXPECT_EQ(written, prompts) << c.input;
        EXPECT_EQ(rest, c.rest) << c.input;
        EXPECT_EQ(status, c.hints > 0 ? 1 : 0) << c.input;
    }
}

// The end of the input is final within a dialogue: what arrives after it, as
// a Windows console's next line after Ctrl+Z, is not read, even where the C
// library forgets that the input has ended (Windows' does).
TEST(ReadNumber, ReadsNothingAfterTheEndOfTheInput)
{
    float value = -7;
    bool first = true, second = true, appended = false;
    {
        ConsoleRedirect console("1e");
        first = asknum("P", value);
        std::clearerr(stdin);
        const int file = fileno(console.in);
        appended =
            lseek(file, 0, SEEK_END) >= 0 && write(file, " 5\n", 3) == 3 && lseek(file, 2, SEEK_SET) == 2;
        second = asknum("P", value);
    }
    ASSERT_TRUE(appended);
    EXPECT_FALSE(first);
    EXPECT_FALSE(second);
    EXPECT_EQ(value, -7);
}

// On a terminal the C library writes each line as it comes, so a write can
// fail within a text; the C library then drops what it held, and only
// writetext learns of the failure. A text longer than the library's buffer
// fails the same way on /dev/full.
TEST(WriteText, ReportsAWriteThatFailsWithinAText)
{
    std::string err;
    int status = -1;
    {
        ConsoleRedirect console("");
        const int full = open("/dev/full", O_WRONLY);
        dup2(full, 1);
        close(full);
        testing::internal::CaptureStderr();
        writetext(std::string(100000, 'x').c_str());
        status = exitstatus(0);
        err = testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(status, 2);
    EXPECT_EQ(err, "brelix: Schreibfehler: No space left on device\n");
}

// The transcripts print everyday results, inf and nan; these are the edges
// of the notation: where it switches to an exponent, ties, the float range.
TEST(WriteNumber, UsesSixSignificantDigits)
{
    const struct {
        float value;
        const char *text;
    } cases[] = {
        {1e-5f, "1e-05"},
        {0.0001f, "0.0001"},
        {-3.5f, "-3.5"},
        {9.999995e-5f, "9.99999e-05"},
        {-0.0f, "-0"},
        {123456, "123456"},
        {1234567, "1.23457e+06"},
        {100000.5f, "100000"},
        {100001.5f, "100002"},
        {999999.5f, "1e+06"},
        {fltmax, "3.40282e+38"},
        {std::numeric_limits<float>::denorm_min(), "1.4013e-45"},
        {-std::numeric_limits<float>::infinity(), "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
    };
    for (const auto &c : cases) {
        std::string out;
        {
            ConsoleRedirect console("");
            writenum(c.value);
            out = console.output();
        }
        EXPECT_EQ(out, c.text);
    }
}

} // namespace
