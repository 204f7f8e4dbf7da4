// SPDX-License-Identifier: MIT
// libFuzzer harness: runs a whole dialogue on the fuzzer's bytes as
// standard input and checks that it ends with a sane status and clean
// output, whatever the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "brelix.hpp"
#include "console_redirect.hpp"

namespace {

void require(bool ok)
{
    if (!ok)
        std::abort();
}

bool printable(unsigned char c)
{
    return c == '\n' || (c >= 0x20 && c < 0x7F) || c == 0xFC || c == 0xF6;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string banner = "\nBrelix 0.1\nTemperaturberechnung beim Wasserwechsel\n\n";
    ConsoleRedirect console(std::string(reinterpret_cast<const char *>(data), size));
    const int status = dialog1();
    const std::string out = console.output();

    require(status >= 0 && status <= 2);
    // A refused answer never ends in status 0.
    require(status != 0 || out.find("Eingabe") == std::string::npos);
    require(out.compare(0, banner.size(), banner) == 0);
    std::size_t menus = 0;
    for (std::size_t at = out.find("(99)"); at != std::string::npos; at = out.find("(99)", at + 1))
        ++menus;
    // Every menu after the first needs a selection read from the input.
    require(menus <= size + 1);
    for (const char c : out)
        require(printable(static_cast<unsigned char>(c)));
    return 0;
}
