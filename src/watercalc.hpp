// SPDX-License-Identifier: MIT
// Water-change calculations: the quantities of a partial water change, the
// prompts that ask for them and the four ways to solve the mixing balance.
#pragma once

#include <cmath>
#include <limits>

#ifndef BRELIX_SOFT_EXTENDED
// The arithmetic of the formulas: x87 extended precision, which is what long
// double is on x86. The build defines BRELIX_SOFT_EXTENDED where it is not.
using extended = long double;
static_assert(std::numeric_limits<extended>::digits == 64,
              "long double is not x87 here: build with BRELIX_SOFT_EXTENDED");
#else
#include <cstdint>

#include <boost/multiprecision/cpp_bin_float.hpp>
// Where long double is another format, the same one in software: a 64-bit
// significand, a 15-bit exponent, each step rounded to nearest.
using extended =
    boost::multiprecision::number<boost::multiprecision::cpp_bin_float<64, boost::multiprecision::digit_base_2,
                                                                       void, std::int16_t, -16382, 16383>,
                                  boost::multiprecision::et_off>;
#endif

// Amounts in litres: the whole tank, the water that stays, the change water.
extern float m0, m1, m2;
// Temperatures in degrees Celsius: the tank before the change, the change
// water, the tank after the change.
extern float t1, t2, t12;

// Each prompt asks for one quantity and stores the answer; false at the end
// of input.
bool abfrage1(); // m1
bool abfrage2(); // m2
bool abfrage3(); // t1
bool abfrage4(); // t12
bool abfrage5(); // t2
bool abfrage6(); // m0

// A zero divisor gives inf or nan, stored and written like any other result.
static_assert(std::numeric_limits<float>::is_iec559, "the formulas need IEEE floats, with inf and nan");

// Rounds a result to the float it is stored as. 0/0 gives x87's default NaN,
// whose sign bit is set, so every NaN is stored with that sign, whatever the
// arithmetic's own NaN.
template <class X> float stored(const X &result)
{
    const auto value = static_cast<float>(result);
    return std::isnan(value) ? std::copysign(std::numeric_limits<float>::quiet_NaN(), -1.0f) : value;
}

// The four formulas on the current quantities, each step in X, exactly as
// bracketed; the calculations use X = extended.
template <class X> float formula1()
{
    return stored((X(m1) * t1 + X(m2) * t2) / (X(m1) + m2));
}

template <class X> float formula2()
{
    return stored(((X(m1) + m2) * t12 - X(m2) * t2) / m1);
}

template <class X> float formula3()
{
    return stored(((X(m1) + m2) * t12 - X(m1) * t1) / m2);
}

// The change water replaces part of the whole tank m0, so m1 = m0 - m2.
template <class X> float formula4()
{
    return stored(((X(t1) - t12) * m0) / (X(t1) - t2));
}

// Each calculation asks for its four quantities, solves for the fifth,
// stores it and writes the result line. At the end of input it stops at
// once and writes nothing more.
void calc1(); // t12, the mixed temperature
void calc2(); // t1, the temperature before the change
void calc3(); // t2, the change-water temperature needed
void calc4(); // m2, the change-water amount needed
