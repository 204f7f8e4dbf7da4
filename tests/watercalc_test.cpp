#include "watercalc.hpp"

#include <string>

#include <gtest/gtest.h>

#include "console_redirect.hpp"

namespace {

// The number in the result line, after the last " : " and before the unit.
std::string shown(const std::string &output, const std::string &unit)
{
    const std::size_t from = output.rfind(" : ") + 3;
    if (output.size() < from + unit.size() || output.compare(output.size() - unit.size(), unit.size(), unit) != 0)
        return "no result line in: " + output;
    return output.substr(from, output.size() - unit.size() - from);
}

struct CalcCase {
    int entry;
    const char *answers; // in the order the calculation asks
    const char *result;
};

// Expected results come from exact rational arithmetic with each step
// rounded to a 64-bit significand, then to a float. Marked cases print
// otherwise when evaluated in float (F) or double (D).
const CalcCase calccases[] = {
    {1, "100 20 25 15", "23.3333"},
    {1, "0.1 0.2 0.3 0.7", "0.566667"},
    {1, "1 1 1e6 3e6", "2e+06"},
    {1, "76.8 278.8 16.79 3.24", "6.16643"},                         // F
    {1, "511 1 8.017333984375 1.4210854715202004e-14", "8.00168"},  // F, D
    {1, "0 0 20 30", "-nan"},
    {1, "-0 -0 20 30", "-nan"},
    {2, "80 20 24 20", "25"},
    {2, "382.7 235.8 8.85 24.79", "-0.971406"},                      // F
    {2, "1 68719476736 20.611 20.611", "20.611"},                    // F, D
    {2, "0 20 24 20", "inf"},
    {2, "0 20 20 24", "-inf"},
    {3, "80 20 25 24", "20"},
    {3, "37.2 277 18.62 30.41", "31.9933"},                          // F
    {3, "68719476736 1 20.611 20.611", "20.611"},                    // F, D
    {3, "80 0 25 24", "-inf"},
    {3, "80 0 25 25", "-nan"},
    {4, "100 25 24 20", "20"},
    {4, "100 25 24 22", "33.3333"},
    {4, "58.5 18.3 8.33 19.73", "-407.864"},                         // F
    {4, "2057 8157 -2.842170943040401e-14 8156", "1.6779e+07"},      // F, D
    {4, "100 25 25 20", "0"},
    {4, "100 25 25 30", "-0"},
    {4, "100 25 24 25", "inf"},
    {4, "100 25 25 25", "-nan"},
    {4, "1e38 10 0 9", "inf"},       // beyond the largest float
};

TEST(Calculation, SolvesTheBalanceInExtendedPrecision)
{
    void (*const calcs[])() = {calc1, calc2, calc3, calc4};
    for (const CalcCase &c : calccases) {
        ConsoleRedirect console(c.answers);
        calcs[c.entry - 1]();
        const char *unit = c.entry == 4 ? " Liter\n" : " Grad Celsius\n";
        EXPECT_EQ(shown(console.output(), unit), c.result) << "entry " << c.entry << ": " << c.answers;
    }
}

TEST(Calculation, StopsSilentlyWhenInputEnds)
{
    ConsoleRedirect console("100 20 25");
    calc1();
    EXPECT_EQ(console.output().find("resultierende"), std::string::npos);
}

} // namespace
