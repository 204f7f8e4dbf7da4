// SPDX-License-Identifier: MIT
// Runs the program named on the command line in this console, as a shell
// would, and checks what it does to the console's output code page: set to
// ISO-8859-1 while it runs if its standard output is the console, left
// alone if that is a pipe, and given back to the shell's page when it ends
// by 99 or by the end of the input. (Wine cannot send a console's Ctrl+C
// or Ctrl+Break to a program, so the handler for these and for a closed
// window is not run here.) Needs a console; ctest gives it one through a
// pseudo-terminal.
// Usage: codepage_test PROGRAM   (exits 77 without a console)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

enum class ending { selection99, endofinput };

struct Case {
    const char *name;
    bool console; // standard output is the console, else a pipe
    UINT shell;   // the shell's code page
    ending end;
    UINT running; // the page while the program waits at the menu
};

const Case cases[] = {
    {"console, 99", true, 850, ending::selection99, 28591},
    {"console, end of input", true, 850, ending::endofinput, 28591},
    {"console, another shell page", true, 437, ending::selection99, 28591},
    {"pipe, 99", false, 850, ending::selection99, 850},
    {"pipe, end of input", false, 437, ending::endofinput, 437},
};

// A deadline that a loaded machine never reaches, where a hang would.
const DWORD patience = 60000;

int failures = 0;

void fail(const char *name, const std::string &what)
{
    std::printf("FAILED: %s: %s\n", name, what.c_str());
    std::fflush(stdout);
    ++failures;
}

// Reads the pipe until text has come, or to its end if text is empty.
bool readuntil(HANDLE pipe, std::string &seen, const std::string &text)
{
    char buffer[4096];
    DWORD n = 0;
    while (text.empty() || seen.find(text) == std::string::npos) {
        if (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) == 0 || n == 0)
            return text.empty();
        seen.append(buffer, n);
    }
    return true;
}

// Polls until the console's output code page is page.
bool awaitpage(UINT page)
{
    for (DWORD waited = 0; waited < patience; waited += 10) {
        if (GetConsoleOutputCP() == page)
            return true;
        Sleep(10);
    }
    return false;
}

void run(const char *program, HANDLE console, const Case &c)
{
    SetConsoleOutputCP(c.shell);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inread, inwrite, outread = nullptr, outwrite = nullptr;
    CreatePipe(&inread, &inwrite, &inherit, 0);
    SetHandleInformation(inwrite, HANDLE_FLAG_INHERIT, 0);
    if (!c.console) {
        CreatePipe(&outread, &outwrite, &inherit, 0);
        SetHandleInformation(outread, HANDLE_FLAG_INHERIT, 0);
    }
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = inread;
    start.hStdOutput = c.console ? console : outwrite;
    start.hStdError = console;
    PROCESS_INFORMATION process = {};
    std::string command = std::string("\"") + program + "\"";
    if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP, nullptr,
                       nullptr, &start, &process) == 0) {
        fail(c.name, "cannot start " + command);
        return;
    }
    CloseHandle(inread);
    if (outwrite != nullptr)
        CloseHandle(outwrite);

    // The program has set its streams up once it asks at the menu, or once
    // the console shows the page it sets.
    std::string output;
    if (c.console ? !awaitpage(c.running) : !readuntil(outread, output, "?  : "))
        fail(c.name, "the program never reached the menu");
    else if (GetConsoleOutputCP() != c.running)
        fail(c.name, "code page " + std::to_string(GetConsoleOutputCP()) + " at the menu, expected " +
                         std::to_string(c.running));

    DWORD written = 0;
    if (c.end == ending::selection99)
        WriteFile(inwrite, "99\n", 3, &written, nullptr);
    CloseHandle(inwrite);
    if (outread != nullptr)
        readuntil(outread, output, "");
    DWORD status = 0;
    if (WaitForSingleObject(process.hProcess, patience) != WAIT_OBJECT_0) {
        fail(c.name, "the program did not end");
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, patience);
    } else if (GetExitCodeProcess(process.hProcess, &status) != 0 && status != 0)
        fail(c.name, "exit status " + std::to_string(status) + ", expected 0");
    if (GetConsoleOutputCP() != c.shell)
        fail(c.name, "code page " + std::to_string(GetConsoleOutputCP()) + " afterwards, expected " +
                         std::to_string(c.shell));
    if (outread != nullptr)
        CloseHandle(outread);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::printf("usage: codepage_test PROGRAM\n");
        return 2;
    }
    HANDLE console = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || GetConsoleMode(console, &mode) == 0) {
        std::printf("no console\n");
        return 77;
    }
    SetHandleInformation(console, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    const UINT original = GetConsoleOutputCP();
    for (const auto &c : cases)
        run(argv[1], console, c);
    SetConsoleOutputCP(original);
    std::printf("%d of %d cases failed\n", failures, int(sizeof cases / sizeof cases[0]));
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}
