// SPDX-License-Identifier: MIT
// Points the standard streams at temporary files while a test runs, so that
// the console code works unchanged on a scripted dialogue. GoogleTest writes
// on standard output too, so a test checks what it saw once the redirection
// has ended; a failure reported before would land in the file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

#include "console.hpp"

// A file that is removed when closed. Wine's tmpfile() frees the name it
// picked before it opens the file, so that two tests running at once may
// share one file or crash on none, and Microsoft's makes it in the drive's
// root, which an ordinary user may not write to. There _tempnam names the
// file, in the folder that TMP names or else the current one, and a name
// that another process took in between is not used.
inline std::FILE *scratchfile()
{
#ifdef _WIN32
    for (int attempt = 0; attempt < 100; ++attempt) {
        char *name = _tempnam(".", "brelix");
        if (name == nullptr)
            break;
        const int fd =
            _open(name, _O_CREAT | _O_EXCL | _O_RDWR | _O_BINARY | _O_TEMPORARY, _S_IREAD | _S_IWRITE);
        std::free(name);
        if (fd != -1)
            return _fdopen(fd, "w+b");
    }
    return nullptr;
#else
    return std::tmpfile();
#endif
}

struct ConsoleRedirect {
    std::FILE *in = scratchfile();
    std::FILE *out = scratchfile();
    int oldin = dup(0);
    int oldout = dup(1);

    // Standard input reads input from its start; what the test wrote on
    // standard output before has gone where it belongs.
    explicit ConsoleRedirect(const std::string &input)
    {
        if (in == nullptr || out == nullptr)
            throw std::runtime_error("no temporary file for the standard streams");
        std::fwrite(input.data(), 1, input.size(), in);
        std::fflush(stdout);
        dup2(fileno(in), 0);
        dup2(fileno(out), 1);
        std::rewind(in);
        std::clearerr(stdin);
    }
    ~ConsoleRedirect()
    {
        // Ends the dialogue, so that the next one starts afresh, and drops
        // what standard input holds of the file, which the C library can
        // do only while the file is still there.
        exitstatus(0);
        std::fflush(stdin);
        dup2(oldin, 0);
        dup2(oldout, 1);
        close(oldin);
        close(oldout);
        std::fclose(in);
        std::fclose(out);
    }
    ConsoleRedirect(const ConsoleRedirect &) = delete;
    ConsoleRedirect &operator=(const ConsoleRedirect &) = delete;

    // What the program wrote, flushed or not.
    std::string output() const
    {
        std::fflush(stdout);
        return written();
    }

    // What has reached standard output's file, that is what was flushed.
    std::string written() const
    {
        std::string text;
        std::rewind(out);
        for (int c; (c = std::getc(out)) != EOF;)
            text += char(c);
        return text;
    }

    // The input not read yet.
    static std::string rest()
    {
        std::string text;
        for (int c; (c = std::getc(stdin)) != EOF;)
            text += char(c);
        return text;
    }
};
