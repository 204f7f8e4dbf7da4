// SPDX-License-Identifier: MIT
// Points the standard streams at strings while a test runs, so that the
// console code works unchanged on a scripted dialogue.
#pragma once

#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "console.hpp"

struct ConsoleRedirect {
    // Output that notes how much of it had been written at each flush.
    struct Recorder : std::stringbuf {
        std::vector<std::size_t> flushes;
        int sync() override
        {
            flushes.push_back(str().size());
            return 0;
        }
    };

    std::istringstream in;
    Recorder out;
    std::streambuf *oldin = std::cin.rdbuf(in.rdbuf());
    std::streambuf *oldout = std::cout.rdbuf(&out);

    explicit ConsoleRedirect(const std::string &input) { in.str(input); }
    ~ConsoleRedirect()
    {
        // Ends the dialogue, so that the next one starts afresh.
        exitstatus(0);
        std::cin.rdbuf(oldin);
        std::cout.rdbuf(oldout);
    }
    ConsoleRedirect(const ConsoleRedirect &) = delete;
    ConsoleRedirect &operator=(const ConsoleRedirect &) = delete;

    // The input not read yet.
    std::string rest() { return {std::istreambuf_iterator<char>(in), {}}; }
};
