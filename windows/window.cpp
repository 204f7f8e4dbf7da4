// SPDX-License-Identifier: MIT
// A double-click starts Brelix in a console window of its own, which closes
// the moment Brelix ends. After 99 the user wants exactly that; after the end
// of the input or an error, the last result or the error would vanish with
// the window, so Brelix leaves a line there and waits for Enter.
//
// The window is Brelix's own when Brelix is the only process attached to the
// console: a shell that shares it keeps it open. And the dialogue happens in
// it when standard input and output are that console. A program that starts
// Brelix with pipes, perhaps in a console nobody sees, must never wait for a
// key; wine, run from a Unix terminal, gives Brelix a console of its own on
// that terminal, and with redirected input no key typed there reaches it. The
// line goes to the console itself, never to standard output, so a pipe or a
// file gets the same bytes as anywhere.
#include "window.hpp"

#include <atomic>
#include <cwchar>

namespace {

// The longest menu line has 92 characters. A line that fills its row moves
// the cursor on to the next one, and its line feed would leave that empty.
const SHORT columns = 100;

HANDLE openconsole(const wchar_t *name)
{
    return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
}

// The processes attached to this console, Brelix among them; 0 without one.
DWORD processes()
{
    DWORD ids[2];
    return GetConsoleProcessList(ids, 2);
}

bool typed()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0 &&
           GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

// The exit status of the dialogue while the window waits.
std::atomic<UINT> waiting{0};

// Ctrl+C and Ctrl+Break close a waiting window like Enter, with the exit
// status of the dialogue, not that of an interrupted program.
BOOL WINAPI interrupted(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
        ExitProcess(waiting);
    return FALSE;
}

} // namespace

const wchar_t *closingline(DWORD processes, bool typed, int status, bool selected99)
{
    if (processes != 1 || !typed || (selected99 && status != 2))
        return nullptr;
    switch (status) {
    case 0:
        return L"Brelix ist beendet: Eingabe zu Ende, Exit-Status 0. Enter schlie\xDF"
               L"t das Fenster.";
    case 1:
        return L"Brelix ist beendet: Eingabe zu Ende, Exit-Status 1. Enter schlie\xDF"
               L"t das Fenster.";
    default:
        return L"Brelix ist beendet: Fehler, Exit-Status 2. Enter schlie\xDF"
               L"t das Fenster.";
    }
}

void widenwindow()
{
    if (processes() != 1 || !typed())
        return;
    const HANDLE out = openconsole(L"CONOUT$");
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(out, &info) != 0) {
        const SHORT largest = GetLargestConsoleWindowSize(out).X;
        const SHORT width = largest < columns ? largest : columns;
        if (width > info.srWindow.Right - info.srWindow.Left + 1) {
            // The buffer first: it is never narrower than the window.
            if (info.dwSize.X < width)
                SetConsoleScreenBufferSize(out, COORD{width, info.dwSize.Y});
            const SMALL_RECT window = {0, info.srWindow.Top, SHORT(width - 1), info.srWindow.Bottom};
            SetConsoleWindowInfo(out, TRUE, &window);
        }
    }
    CloseHandle(out);
}

void holdwindow(int status, bool selected99)
{
    const wchar_t *line = closingline(processes(), typed(), status, selected99);
    if (line == nullptr)
        return;
    const HANDLE out = openconsole(L"CONOUT$");
    const HANDLE in = openconsole(L"CONIN$");
    CONSOLE_SCREEN_BUFFER_INFO info;
    DWORD count = 0;
    // The line starts a row of its own, also after a prompt.
    if (GetConsoleScreenBufferInfo(out, &info) != 0 && info.dwCursorPosition.X != 0)
        WriteConsoleW(out, L"\r\n", 2, &count, nullptr);
    if (WriteConsoleW(out, line, DWORD(std::wcslen(line)), &count, nullptr) != 0) {
        // Keys typed ahead, or lines pasted, do not close the window unseen.
        FlushConsoleInputBuffer(in);
        SetConsoleMode(in, ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
        waiting = UINT(status);
        SetConsoleCtrlHandler(interrupted, TRUE);
        wchar_t typing[64];
        while (ReadConsoleW(in, typing, 64, &count, nullptr) != 0 && count > 0 &&
               std::wmemchr(typing, L'\n', count) == nullptr) {
        }
        SetConsoleCtrlHandler(interrupted, FALSE);
    }
    CloseHandle(in);
    CloseHandle(out);
}
