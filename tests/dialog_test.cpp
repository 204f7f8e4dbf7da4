// SPDX-License-Identifier: MIT
#include "brelix.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include <fcntl.h>

#include <gtest/gtest.h>

#include "console_redirect.hpp"

namespace {

// All four entries, garbage, decimal commas, answers shared by one line.
const std::string script = "1,0\n1\n100 20\n25,5\n25.5\n15\n2\t80\n20\nabc\n24\n20\n"
                           "3 80 20 25 24\n4\n100\n25\n1e\n24\n22\n0\n99\n";

int run(const std::string &input, std::string &output)
{
    ConsoleRedirect console(input);
    const int status = dialog1();
    output = console.output();
    return status;
}

std::size_t count(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Status 0 only where the input ends at the selection and no answer was
// refused before.
TEST(Dialogue, EndsCleanlyWhereverTheInputIsCut)
{
    std::string whole;
    ASSERT_EQ(run(script, whole), 1);
    ASSERT_EQ(count(whole, " Grad Celsius\n") + count(whole, " Liter\n"), 4U);
    ASSERT_EQ(count(whole, "Eingabe"), 4U);
    for (std::size_t cut = 0; cut < script.size(); ++cut) {
        std::string out;
        const int status = run(script.substr(0, cut), out);
        ASSERT_TRUE(status == 0 || status == 1) << cut;
        const bool onspace = cut == 0 || std::isspace(static_cast<unsigned char>(script[cut - 1])) != 0 ||
                             std::isspace(static_cast<unsigned char>(script[cut])) != 0;
        if (!onspace)
            continue;
        EXPECT_EQ(whole.compare(0, out.size(), out), 0) << "not a prefix, cut at " << cut;
        const std::string selection = "\n\n?  : ";
        const bool atselection = out.size() >= selection.size() &&
                                 out.compare(out.size() - selection.size(), selection.size(), selection) == 0;
        const bool refused = out.find("Eingabe") != std::string::npos;
        EXPECT_EQ(status == 0, atselection && !refused) << "cut at " << cut;
    }
}

// The number that a failed read cuts short is not taken, nor is a wrong
// answer whose line the failure cuts short answered with the hint: nothing
// more is written, and the failure is reported once. The text is in
// standard input's buffer when its file descriptor turns into a directory,
// which the next read(2) fails on.
TEST(Dialogue, StopsWithStatus2WhenAReadFailsAfterSomeInput)
{
    for (const char *input : {"1 100 2", "1 100 x"}) {
        int status = -1;
        std::string out, err;
        {
            ConsoleRedirect console(input);
            std::ungetc(std::getc(stdin), stdin);
            const int directory = open("/", O_RDONLY);
            dup2(directory, 0);
            close(directory);
            testing::internal::CaptureStderr();
            status = dialog1();
            err = testing::internal::GetCapturedStderr();
            out = console.output();
        }
        const std::string prompts = "verbleiben soll  : \nWechselwassermenge                           : ";
        EXPECT_EQ(status, 2) << input;
        EXPECT_EQ(err, "brelix: Lesefehler: Is a directory\n") << input;
        EXPECT_EQ(out.substr(out.size() - std::min(out.size(), prompts.size())), prompts) << input;
    }
}

} // namespace
