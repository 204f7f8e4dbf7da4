// SPDX-License-Identifier: MIT
// The standard streams as Brelix needs them on Windows, set up before main
// runs. A pipe or a file carries the bytes as they are: the C runtime's text
// mode would write "\r\n" for "\n" and end the input at a byte 0x1A. A
// console keeps text mode, so that Ctrl+Z then Enter ends the input there,
// and shows the output in ISO-8859-1, the program's character set, instead
// of the OEM code page (850 in Germany, where 0xFC is no u umlaut). The
// console belongs to the shell that started the program, so its code page
// is given back when the program ends, however it ends.
#include <windows.h>

#include <atomic>

#include <fcntl.h>
#include <io.h>

namespace {

const UINT latin1 = 28591;
// Windows-1252 agrees with ISO-8859-1 on every byte the program writes.
const UINT windows1252 = 1252;

// The console's output code page, if it was changed. Ctrl+C runs its handler
// in a thread of its own, maybe while main returns.
std::atomic<UINT> oldpage{0};

bool console(int fd)
{
    DWORD mode = 0;
    // The C runtime hands out a stream's HANDLE as an integer.
    const intptr_t handle = _get_osfhandle(fd);
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    return handle != -1 && GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode) != 0;
}

void restore()
{
    const UINT page = oldpage.exchange(0);
    if (page != 0)
        SetConsoleOutputCP(page);
}

// Ctrl+C, Ctrl+Break, a closed window, the end of the session: the page
// goes back, and the system's own handler then ends the process.
BOOL WINAPI interrupted(DWORD /*event*/)
{
    restore();
    return FALSE;
}

struct Startup {
    Startup()
    {
        for (int fd = 0; fd <= 2; ++fd)
            if (_get_osfhandle(fd) != -1 && !console(fd))
                _setmode(fd, _O_BINARY);
        if (!console(1))
            return;
        const UINT page = GetConsoleOutputCP();
        if (page == latin1 || page == windows1252)
            return;
        // The handler comes first, so that no Ctrl+C finds the page changed
        // and the handler missing.
        oldpage = page;
        SetConsoleCtrlHandler(interrupted, TRUE);
        if (SetConsoleOutputCP(latin1) == 0 && SetConsoleOutputCP(windows1252) == 0)
            oldpage = 0;
    }
    ~Startup() { restore(); }
    Startup(const Startup &) = delete;
    Startup &operator=(const Startup &) = delete;
};

const Startup startup;

} // namespace
