// Numbers travel over the console as the standard streams read and write
// a float in the classic locale: white-space separated, a point for the
// decimal, six significant digits on output. Output is flushed before every
// read, so the prompt is on the screen while the program waits for an answer.
#include "console.hpp"

#include <cmath>
#include <iostream>
#include <limits>

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

bool asknum(const char *prompt, float &value)
{
    for (;;) {
        writetext(prompt);
        std::cout.flush();
        std::cin >> std::ws;
        const int first = std::cin.peek();
        float read = 0;
        std::cin >> read;
        if (!std::cin.fail()) {
            value = read;
            return true;
        }
        // A number too large for a float arrives as the largest float with
        // the fail bit; it is a wrong answer, even at the end of input.
        const bool overflow = std::fabs(read) == std::numeric_limits<float>::max();
        if (std::cin.eof() && !overflow)
            return false;
        std::cin.clear();
        if (brokenexponentatend(first)) {
            std::cin.setstate(std::ios::failbit);
            return false;
        }
        std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        writetext("\nUng\xFC"
                  "ltige Eingabe: bitte eine Zahl eingeben, zum Beispiel 25.5\n");
    }
}

bool inputended()
{
    return std::cin.fail();
}
