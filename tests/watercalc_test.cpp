// SPDX-License-Identifier: MIT
#include "watercalc.hpp"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "console_redirect.hpp"

namespace {

// Expected results come from exact rational arithmetic with each step
// rounded to a 64-bit significand, then to a float. Each calculation has
// cases that print otherwise when evaluated in float (F), in double (D) and
// in IEEE binary128 (Q), the long double of arm64, riscv64 and s390x, and
// when bracketed otherwise.
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
    {1, "359 45 26.8 1e-20", "23.8148"},                           // F, Q
    {2, "1 1e15 24.3 24.3", "24.3008"},                            // F, D, Q
    {3, "1e15 1 24.3 24.3", "24.3008"},                            // F, D, Q
    {4, "265 28 25.7 1e-20", "21.7678"},                           // F, Q
    {4, "1e38 10 0 9", "inf"},                                     // beyond the largest float
    // Results whose exact value lies on a midpoint between two floats, so
    // that another bracketing, a reciprocal, or one step in float (f)
    // prints otherwise. The formulas' order of operations is part of them.
    {1, "134.7 95.9 18 3.5875", "12.0063"},                // x / s as x * (1 / s); f
    {1, "385 627.8 24.7 -2.993749", "7.5336"},             // terms divided apart; f
    {2, "0.0019 6e16 35 63.33592", "-8.94819e+20"},        // (m1 + m2) t12 as m1 t12 + m2 t12; f
    {2, "0.00097 7e16 10 2.7387807", "5.24005e+20"},       // x / m1 as x * (1 / m1); f
    {3, "3e18 0.0019 -0.42445442 -6.007", "-8.81455e+21"}, // x / m2 as x * (1 / m2); f
    {3, "2e17 0.0078 -0.13958842 -2.709", "-6.58823e+19"}, // (m1 + m2) t12 as m1 t12 + m2 t12; f
    {4, "141.97365 20.91 1.3 -9.2594", "92.2823"},         // (t1 - t12) (m0 / (t1 - t2)); f
};

TEST(Calculation, SolvesTheBalanceInExtendedPrecision)
{
    void (*const calcs[])() = {calc1, calc2, calc3, calc4};
    for (const auto &c : calccases) {
        std::string out;
        {
            ConsoleRedirect console(c.answers);
            calcs[c.entry - 1]();
            out = console.output();
        }
        const std::size_t from = out.rfind(" : ") + 3;
        const std::string unit = c.entry == 4 ? " Liter\n" : " Grad Celsius\n";
        EXPECT_EQ(out.substr(from), c.result + unit) << "entry " << c.entry << ": " << c.answers;
    }
}

} // namespace

#if defined(BRELIX_SOFT_EXTENDED) && LDBL_MANT_DIG == 64
// Built with the software arithmetic on x86, the formulas must give the very
// float that x87's long double gives, bit for bit, NaN and signed zero too.
namespace {

std::mt19937_64 random64(20261207);

float uniform(float low, float high)
{
    return low + (high - low) * float(random64() >> 40) * 0x1p-24f;
}

// A float of either sign whose magnitude lies between 1e-15 and 1e15.
float wide()
{
    const float value = std::pow(10.0f, uniform(-15, 15)) * uniform(1, 2);
    return random64() % 2 != 0 ? value : -value;
}

// A temperature as a keeper types it, with one or two decimals.
float typed(float low, float high, float step)
{
    return std::round(uniform(low, high) / step) * step;
}

std::uint32_t bits(float value)
{
    std::uint32_t word = 0;
    std::memcpy(&word, &value, sizeof word);
    return word;
}

// Sets m0, m1, m2, t1, t2 and t12 for one case of the given kind.
void generate(int kind)
{
    float *const all[] = {&m0, &m1, &m2, &t1, &t2, &t12};
    switch (kind) {
    case 0: // plausible aquarium values
        m0 = typed(20, 1000, 1), m1 = typed(10, 800, 0.5f), m2 = typed(1, 300, 0.5f);
        t1 = typed(15, 32, 0.1f), t2 = typed(4, 40, 0.1f), t12 = typed(15, 32, 0.01f);
        break;
    case 1: // temperatures a few ulps apart, so the formulas cancel to near zero
        t1 = typed(5, 35, 0.1f);
        t2 = std::nextafter(t1, t1 + float(int(random64() % 9) - 4));
        t12 = std::nextafter(t1, t1 + float(int(random64() % 9) - 4));
        m0 = wide(), m1 = wide(), m2 = std::fabs(wide()) < 1 ? m1 : wide();
        break;
    case 2: // wide magnitudes, each operand often the same as another
        for (float *v : all)
            *v = random64() % 3 == 0 ? *all[random64() % 6] : wide();
        break;
    case 3: { // results off the midpoint a + ulp(a) / 2 by about 2^-k a
        const int e = int(random64() % 80) - 60, k = 24 + int(random64() % 40);
        const float a = std::ldexp(float((random64() % (1U << 23)) | (1U << 23)), e); // ulp(a) = 2^e
        const float half = std::ldexp(1.0f, e + k - 1), tiny = std::ldexp(1.0f, -k);
        switch (random64() % 4) {
        case 0:
            m1 = 1, m2 = tiny, t1 = a, t2 = half; // formula 1
            break;
        case 1:
            m1 = 1, m2 = tiny, t12 = a, t2 = -half; // formula 2
            break;
        case 2:
            m1 = tiny, m2 = 1, t12 = a, t1 = -half; // formula 3
            break;
        default:
            m0 = t1 = a, t12 = -std::ldexp(1.0f, e - 1), t2 = -a * tiny; // formula 4
        }
        break;
    }
    default: // zero divisors
        for (float *v : all)
            *v = random64() % 2 != 0 ? 0.0f : wide();
        m2 = random64() % 2 != 0 ? -m1 : m2, t2 = t1;
    }
}

TEST(Calculation, SoftwareArithmeticMatchesX87BitForBit)
{
    float (*const native[])() = {formula1<long double>, formula2<long double>, formula3<long double>,
                                 formula4<long double>};
    float (*const soft[])() = {formula1<extended>, formula2<extended>, formula3<extended>, formula4<extended>};
    for (int i = 0; i < 1000000; ++i) {
        generate(i % 5);
        for (int f = 0; f < 4; ++f)
            ASSERT_EQ(bits(soft[f]()), bits(native[f]()))
                << "formula " << f + 1 << ", m0 m1 m2 t1 t2 t12 = " << std::hexfloat << m0 << ' ' << m1 << ' '
                << m2 << ' ' << t1 << ' ' << t2 << ' ' << t12;
    }
}

} // namespace
#endif
