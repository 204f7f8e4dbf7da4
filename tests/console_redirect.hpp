// Points the standard streams at strings for the lifetime of a test, so
// that the console code runs unchanged on a scripted dialogue.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

class ConsoleRedirect {
public:
    explicit ConsoleRedirect(const std::string &input)
        : in_(input), oldin_(std::cin.rdbuf(in_.rdbuf())), oldout_(std::cout.rdbuf(out_.rdbuf()))
    {
    }
    ~ConsoleRedirect()
    {
        std::cin.rdbuf(oldin_);
        std::cout.rdbuf(oldout_);
    }
    ConsoleRedirect(const ConsoleRedirect &) = delete;
    ConsoleRedirect &operator=(const ConsoleRedirect &) = delete;

    std::string output() const { return out_.str(); }
    // The input not read yet.
    std::string rest() { return std::string(std::istreambuf_iterator<char>(in_), {}); }

private:
    std::istringstream in_;
    std::ostringstream out_;
    std::streambuf *oldin_;
    std::streambuf *oldout_;
};
