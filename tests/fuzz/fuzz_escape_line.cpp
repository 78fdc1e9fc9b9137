// The command line's escaping: no control character gets through, and the
// line reads back as the text it came from.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "cli/ConsoleOutput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string line = tarnwk::cli::escapeLine(text);
    FUZZ_CHECK(std::ranges::none_of(line, [](unsigned char c) { return c < 0x20 || c == 0x7F; }));
    // Nor a C1 control in UTF-8, which terminals obey as they do the others.
    FUZZ_CHECK(std::ranges::adjacent_find(line, [](unsigned char lead, unsigned char next) {
                   return lead == 0xC2 && next >= 0x80 && next <= 0x9F;
               }) == line.end());
    std::string back;  // the escapes \\ \t \n \r and \xHH undone
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            back += line[i];
        } else if (const auto kind = std::string_view("\\tnr").find(line.at(++i)); kind < 4) {
            back += "\\\t\n\r"[kind];
        } else {
            FUZZ_CHECK(line[i] == 'x' && std::isxdigit(line.at(i + 1)) &&
                       std::isxdigit(line.at(i + 2)));
            back += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
    }
    FUZZ_CHECK(back == text);
    return 0;
}
