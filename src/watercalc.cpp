// SPDX-License-Identifier: MIT
// When the water m1 at t1 that stays in the tank meets the change water m2
// at t2, the tank settles at the amount-weighted mean t12:
//
//     t12 * (m1 + m2) = m1 * t1 + m2 * t2
//
// Each calculation solves this balance for one term. The terms are floats,
// but every formula runs in extended precision (a 64-bit significand) and is
// rounded to a float once, when its result is stored. Every architecture
// thus prints the same digits.
#include "watercalc.hpp"

#include "console.hpp"

float m0, m1, m2;
float t1, t2, t12;

// The answers to all prompts line up in one column.
bool abfrage1()
{
    return asknum("\n\nWassermenge die im Aquarium verbleiben soll  : ", m1);
}

bool abfrage2()
{
    return asknum("\nWechselwassermenge                           : ", m2);
}

bool abfrage3()
{
    return asknum("\nTemperatur im Aquarium vor dem Wechsel       : ", t1);
}

bool abfrage4()
{
    return asknum("\nTemperatur im Aquarium nach dem Wechsel      : ", t12);
}

bool abfrage5()
{
    return asknum("\nTemperatur des Wechselwassers                : ", t2);
}

bool abfrage6()
{
    return asknum("\nWassermenge im Aquarium                      : ", m0);
}

static const char celsius[] = " Grad Celsius\n";
static const char liter[] = " Liter\n";

static void result(const char *label, float value, const char *unit)
{
    writetext(label);
    writenum(value);
    writetext(unit);
}

// Nothing is checked before a division: a zero divisor yields inf or nan,
// which is written like any other result.

void calc1()
{
    if (!(abfrage1() && abfrage2() && abfrage3() && abfrage5()))
        return;
    t12 = formula1<extended>();
    result("\n\nresultierende Temperatur im Aquarium : ", t12, celsius);
}

void calc2()
{
    if (!(abfrage1() && abfrage2() && abfrage4() && abfrage5()))
        return;
    t1 = formula2<extended>();
    result("\n\nTemperatur im Aquarium vor dem Wechsel : ", t1, celsius);
}

void calc3()
{
    if (!(abfrage1() && abfrage2() && abfrage3() && abfrage4()))
        return;
    t2 = formula3<extended>();
    result("\n\nerforderliche Temperatur des Wechselwassers : ", t2, celsius);
}

void calc4()
{
    if (!(abfrage6() && abfrage3() && abfrage4() && abfrage5()))
        return;
    m2 = formula4<extended>();
    result("\n\nBen\xF6"
           "tigte Wechselwassermenge : ",
           m2, liter);
}
