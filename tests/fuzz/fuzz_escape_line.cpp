// The command line's escaping: no control character gets through, and the
// line reads back as the text it came from.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "cli/ConsoleOutput.h"

namespace {

std::string unescape(std::string_view line) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            text += line[i];
            continue;
        }
        FUZZ_CHECK(++i < line.size());
        const auto kind = std::string_view("\\tnrx").find(line[i]);
        FUZZ_CHECK(kind != std::string_view::npos);
        if (kind < 4) {
            text += "\\\t\n\r"[kind];
            continue;
        }
        const std::string hex(line.substr(i + 1, 2));
        FUZZ_CHECK(hex.size() == 2 && hex.find_first_not_of("0123456789abcdefABCDEF") == hex.npos);
        text += static_cast<char>(std::stoi(hex, nullptr, 16));
        i += 2;
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string line = tarnwk::cli::escapeLine(text);
    FUZZ_CHECK(std::ranges::none_of(line, [](unsigned char c) { return c < 0x20 || c == 0x7F; }));
    // Nor a C1 control in UTF-8, which terminals obey as they do the others.
    FUZZ_CHECK(std::ranges::adjacent_find(line, [](unsigned char lead, unsigned char next) {
                   return lead == 0xC2 && next >= 0x80 && next <= 0x9F;
               }) == line.end());
    FUZZ_CHECK(unescape(line) == text);
    return 0;
}
