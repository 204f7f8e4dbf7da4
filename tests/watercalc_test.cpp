#include "watercalc.hpp"

#include <string>

#include <gtest/gtest.h>

#include "console_redirect.hpp"

namespace {

// Expected results come from exact rational arithmetic with each step
// rounded to a 64-bit significand, then to a float. Each calculation has
// a case that prints otherwise when evaluated in float (F) and one that
// prints otherwise in double (D).
const struct {
    int entry;
    const char *answers; // in the order the calculation asks
    const char *result;
} calccases[] = {
    {1, "76.8 278.8 16.79 3.24", "6.16643"},                       // F
    {1, "511 1 8.017333984375 1.4210854715202004e-14", "8.00168"}, // F, D
    {2, "382.7 235.8 8.85 24.79", "-0.971406"},                    // F
    {2, "1 68719476736 20.611 20.611", "20.611"},                  // F, D
    {3, "37.2 277 18.62 30.41", "31.9933"},                        // F
    {3, "68719476736 1 20.611 20.611", "20.611"},                  // F, D
    {4, "58.5 18.3 8.33 19.73", "-407.864"},                       // F
    {4, "2057 8157 -2.842170943040401e-14 8156", "1.6779e+07"},    // F, D
    {4, "1e38 10 0 9", "inf"},                                     // beyond the largest float
};

TEST(Calculation, SolvesTheBalanceInExtendedPrecision)
{
    void (*const calcs[])() = {calc1, calc2, calc3, calc4};
    for (const auto &c : calccases) {
        ConsoleRedirect console(c.answers);
        calcs[c.entry - 1]();
        const std::string out = console.out.str();
        const std::size_t from = out.rfind(" : ") + 3;
        const std::string unit = c.entry == 4 ? " Liter\n" : " Grad Celsius\n";
        EXPECT_EQ(out.substr(from), c.result + unit) << "entry " << c.entry << ": " << c.answers;
    }
}

} // namespace
