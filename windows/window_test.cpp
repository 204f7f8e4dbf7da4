// SPDX-License-Identifier: MIT
#include "window.hpp"

#include <string>

#include <gtest/gtest.h>

namespace {

const std::wstring ended0 = L"Brelix ist beendet: Eingabe zu Ende, Exit-Status 0. Enter schlie\xDF"
                            L"t das Fenster.";
const std::wstring ended1 = L"Brelix ist beendet: Eingabe zu Ende, Exit-Status 1. Enter schlie\xDF"
                            L"t das Fenster.";
const std::wstring failed = L"Brelix ist beendet: Fehler, Exit-Status 2. Enter schlie\xDF"
                            L"t das Fenster.";

// processes in the console at the end, standard input and output are that
// console, exit status, ended by 99, the line left in the window (empty: it
// closes at once)
const struct {
    DWORD processes;
    bool typed;
    int status;
    bool selected99;
    std::wstring line;
} cases[] = {
    // A window of its own: only 99 closes it at once, also after an answer
    // that was refused and makes the status 1.
    {1, true, 0, true, L""},
    {1, true, 1, true, L""},
    {1, true, 0, false, ended0},
    {1, true, 1, false, ended1},
    {1, true, 2, false, failed},
    // A write that fails after 99 leaves its message to be read.
    {1, true, 2, true, failed},
    // Shared with a shell, or no console at all: the window stays anyway.
    {2, true, 1, false, L""},
    {2, true, 2, false, L""},
    {3, true, 0, false, L""},
    {0, false, 1, false, L""},
    // Started with pipes or files: nobody typed in that console.
    {1, false, 0, false, L""},
    {1, false, 1, false, L""},
    {1, false, 2, false, L""},
};

TEST(Window, StaysOpenWithALineWhenItIsBrelixsOwnAndTheDialogueTypedThereEndedOtherwiseThanBy99)
{
    for (const auto &c : cases) {
        const wchar_t *line = closingline(c.processes, c.typed, c.status, c.selected99);
        EXPECT_EQ(line == nullptr ? L"" : line, c.line)
            << c.processes << " processes, " << (c.typed ? "typed" : "redirected") << ", status " << c.status
            << (c.selected99 ? ", 99" : "");
    }
}

} // namespace
