// SPDX-License-Identifier: MIT
// The benchmark's yardstick: the dialogue's bytes for well-formed input,
// written by the plainest iostream program that flushes before every read.
// It checks nothing and knows no wrong answers.
#include <iostream>

namespace {

const char *const prompts[] = {
    "\n\nWassermenge die im Aquarium verbleiben soll  : ", "\nWechselwassermenge                           : ",
    "\nTemperatur im Aquarium vor dem Wechsel       : ",   "\nTemperatur im Aquarium nach dem Wechsel      : ",
    "\nTemperatur des Wechselwassers                : ",   "\nWassermenge im Aquarium                      : ",
};

float ask(int prompt)
{
    float value = 0;
    std::cout << prompts[prompt] << std::flush;
    std::cin >> value;
    return value;
}

} // namespace

int main()
{
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    std::cout << "\nBrelix 0.1\nTemperaturberechnung beim Wasserwechsel\n\n";
    for (;;) {
        std::cout
            << "\n\n(1)  resultierende Mischwassertemperatur (Wassermengen und Temperaturen bekannt)\n"
               "(2)  zur\xFC"
               "ckgerechnete Ausgangstemperatur (Mischwassertemperatur, Wechselwassertemperatur,\n"
               "     sowie Wassermengen bekannt)\n"
               "(3)  erforderliche Wechselwassertemperatur (Wassermengen, Ausgangstemperatur und\n"
               "     Mischwassertemperatur bekannt\n"
               "(4)  Wechselwassermenge, (Ausgangstemperatur, Mischwassertemperatur. Wassermenge im Aquarium\n"
               "     Wechselwassertemperatur\n"
               "(99) Programmabbruch\n"
               "\n\n?  : "
            << std::flush;
        float selection = 0;
        if (!(std::cin >> selection) || selection == 99)
            return 0;
        if (selection == 1) {
            const long double m1 = ask(0), m2 = ask(1), t1 = ask(2), t2 = ask(4);
            std::cout << "\n\nresultierende Temperatur im Aquarium : " << float((m1 * t1 + m2 * t2) / (m1 + m2))
                      << " Grad Celsius\n";
        } else if (selection == 2) {
            const long double m1 = ask(0), m2 = ask(1), t12 = ask(3), t2 = ask(4);
            std::cout << "\n\nTemperatur im Aquarium vor dem Wechsel : "
                      << float(((m1 + m2) * t12 - m2 * t2) / m1) << " Grad Celsius\n";
        } else if (selection == 3) {
            const long double m1 = ask(0), m2 = ask(1), t1 = ask(2), t12 = ask(3);
            std::cout << "\n\nerforderliche Temperatur des Wechselwassers : "
                      << float(((m1 + m2) * t12 - m1 * t1) / m2) << " Grad Celsius\n";
        } else if (selection == 4) {
            const long double m0 = ask(5), t1 = ask(2), t12 = ask(3), t2 = ask(4);
            std::cout << "\n\nBen\xF6"
                         "tigte Wechselwassermenge : "
                      << float(((t1 - t12) * m0) / (t1 - t2)) << " Liter\n";
        }
    }
}
