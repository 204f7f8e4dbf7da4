// SPDX-License-Identifier: MIT
// Points the standard streams at strings while a test runs, so that the
// console code works unchanged on a scripted dialogue.
#pragma once

#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

struct ConsoleRedirect {
    std::istringstream in;
    std::ostringstream out;
    std::streambuf *oldin = std::cin.rdbuf(in.rdbuf());
    std::streambuf *oldout = std::cout.rdbuf(out.rdbuf());

    explicit ConsoleRedirect(const std::string &input) { in.str(input); }
    ~ConsoleRedirect()
    {
        std::cin.rdbuf(oldin);
        std::cout.rdbuf(oldout);
    }
    ConsoleRedirect(const ConsoleRedirect &) = delete;
    ConsoleRedirect &operator=(const ConsoleRedirect &) = delete;

    // The input not read yet.
    std::string rest() { return {std::istreambuf_iterator<char>(in), {}}; }
};
