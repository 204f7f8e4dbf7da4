// SPDX-License-Identifier: MIT
// Brelix's entry point on Windows: the dialogue as everywhere, in a console
// window that is wide enough for the menu and, if it is Brelix's own, does
// not vanish with the last result when the input ends.
#include "brelix.hpp"
#include "window.hpp"

int main()
{
    widenwindow();
    const int status = dialog1();
    holdwindow(status, sel1 == 99.0f);
    return status;
}
