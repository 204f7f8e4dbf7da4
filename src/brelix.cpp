// SPDX-License-Identifier: MIT
// Brelix: temperature and amount of the water for a partial water change
// in the aquarium, as an interactive console calculator.
#include "brelix.hpp"

#include "console.hpp"
#include "watercalc.hpp"

float sel1;

// The eight lines of the menu, written at once.
void intro1()
{
    writetext("\n\n(1)  resultierende Mischwassertemperatur (Wassermengen und Temperaturen bekannt)\n"
              "(2)  zur\xFC"
              "ckgerechnete Ausgangstemperatur (Mischwassertemperatur, Wechselwassertemperatur,\n"
              "     sowie Wassermengen bekannt)\n"
              "(3)  erforderliche Wechselwassertemperatur (Wassermengen, Ausgangstemperatur und\n"
              "     Mischwassertemperatur bekannt\n"
              "(4)  Wechselwassermenge, (Ausgangstemperatur, Mischwassertemperatur. Wassermenge im Aquarium\n"
              "     Wechselwassertemperatur\n"
              "(99) Programmabbruch\n");
}

// The selection is a float like every other answer, so 1.0 and 9.9e1 select
// entries too; any value that is no entry just brings the menu back.
int dialog1()
{
    writetext("\nBrelix 0.1\nTemperaturberechnung beim Wasserwechsel\n\n");
    for (;;) {
        intro1();
        if (!asknum("\n\n?  : ", sel1))
            return exitstatus(0);
        if (sel1 == 1.0f)
            calc1();
        else if (sel1 == 2.0f)
            calc2();
        else if (sel1 == 3.0f)
            calc3();
        else if (sel1 == 4.0f)
            calc4();
        if (stopped())
            return exitstatus(1);
        if (sel1 == 99.0f)
            return exitstatus(0);
    }
}

// The tests run the dialogue in-process and build this file without main.
#ifndef BRELIX_NO_MAIN
int main()
{
    return dialog1();
}
#endif
