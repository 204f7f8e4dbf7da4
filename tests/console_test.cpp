#include "console.hpp"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "console_redirect.hpp"

namespace {

const std::string hint = "\nUng\xFC"
                         "ltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n";
const float keep = -7.0f; // what the variable held before a read

bool samefloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

struct ReadCase {
    const char *input;
    bool read;       // false: the input ended first
    float value;     // the number read, or keep
    int hints;       // wrong answers before it
    const char *rest;
};

const float fltmax = std::numeric_limits<float>::max();

const ReadCase readcases[] = {
    {"1", true, 1, 0, ""},
    {"1.0 ", true, 1, 0, " "},
    {"01\n", true, 1, 0, "\n"},
    {"+1", true, 1, 0, ""},
    {"1e0", true, 1, 0, ""},
    {".5", true, 0.5f, 0, ""},
    {"5.", true, 5, 0, ""},
    {"-0", true, -0.0f, 0, ""},
    {" \n\t\v\f\r7", true, 7, 0, ""},
    {"25,5\n", true, 25, 0, ",5\n"},
    {"1.5.3", true, 1.5f, 0, ".3"},
    {"1e5e3", true, 1e5f, 0, "e3"},
    {"2E-1x", true, 0.2f, 0, "x"},
    {"0x1p3", true, 0, 0, "x1p3"},
    {"3.4028235e38", true, fltmax, 0, ""},
    {"-1e-50", true, -0.0f, 0, ""},
    // Wrong answers: the rest of the line goes, then the prompt comes again.
    {"abc def\n7 8", true, 7, 1, " 8"},
    {",5 9\n.\n-\n+ 1\n2", true, 2, 4, ""},
    {"1e\n1e+ 3\n+e5\n2", true, 2, 3, ""},
    {"inf\nnan\n4", true, 4, 2, ""},
    {"1e39\n-3.4028236e38 5\n3", true, 3, 2, ""},
    // The end of input, also in the middle of a number.
    {"", false, keep, 0, ""},
    {" \n\t", false, keep, 0, ""},
    {"1e", false, keep, 0, ""},
    {"-", false, keep, 0, ""},
    {"+e5", false, keep, 0, ""},
    {".E-", false, keep, 0, ""},
    {"abc", false, keep, 1, ""},
    {"1e39", false, keep, 1, ""},
};

TEST(ReadNumber, FollowsTheNumberSyntaxAndRepromptsAfterGarbage)
{
    for (const ReadCase &c : readcases) {
        ConsoleRedirect console(c.input);
        float value = keep;
        EXPECT_EQ(asknum("P", value), c.read) << c.input;
        EXPECT_EQ(inputended(), !c.read) << c.input;
        EXPECT_TRUE(samefloat(value, c.value)) << c.input << " read as " << value;
        std::string expected = "P";
        for (int i = 0; i < c.hints; ++i)
            expected += hint + "P";
        EXPECT_EQ(console.output(), expected) << c.input;
        EXPECT_EQ(console.rest(), c.rest) << c.input;
    }
}

TEST(WriteNumber, UsesSixSignificantDigits)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        const char *text;
    } cases[] = {
        {20, "20"},
        {23.333334f, "23.3333"},
        {0.56666666f, "0.566667"},
        {2e6f, "2e+06"},
        {1e-5f, "1e-05"},
        {0.0001f, "0.0001"},
        {9.999995e-5f, "9.99999e-05"},
        {-3.5f, "-3.5"},
        {0.0f, "0"},
        {-0.0f, "-0"},
        {123456, "123456"},
        {1234567, "1.23457e+06"},
        {100000.5f, "100000"},
        {100001.5f, "100002"},
        {999999.5f, "1e+06"},
        {fltmax, "3.40282e+38"},
        {std::numeric_limits<float>::denorm_min(), "1.4013e-45"},
        {inf, "inf"},
        {-inf, "-inf"},
    };
    for (const auto &c : cases) {
        ConsoleRedirect console("");
        writenum(c.value);
        EXPECT_EQ(console.output(), c.text);
    }
}

TEST(WriteText, WritesLatin1BytesUnchanged)
{
    ConsoleRedirect console("");
    writetext("\xFC\xF6\n\r\t");
    EXPECT_EQ(console.output(), "\xFC\xF6\n\r\t");
}

} // namespace
