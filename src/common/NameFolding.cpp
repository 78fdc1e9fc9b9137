#include "common/NameFolding.h"

#include <cstdint>

namespace tarnwk {
namespace {

// Lower-cases the two-byte sequence at text[i], text[i + 1] if it is an
// upper-case letter of the repertoire.
void foldTwoByte(char& lead, char& trail) {
    const auto b0 = static_cast<std::uint8_t>(lead);
    const auto b1 = static_cast<std::uint8_t>(trail);
    if (b0 == 0xC3) {
        // U+00C0..U+00DE are capitals, except U+00D7 (multiplication sign).
        if (b1 >= 0x80 && b1 <= 0x9E && b1 != 0x97) trail = static_cast<char>(b1 + 0x20);
    } else if (b0 == 0xC5) {
        switch (b1) {
            case 0x92:  // Œ
            case 0xA0:  // Š
            case 0xBD:  // Ž
                trail = static_cast<char>(b1 + 1);
                break;
            case 0xB8:  // Ÿ -> ÿ (U+00FF)
                lead = static_cast<char>(0xC3);
                trail = static_cast<char>(0xBF);
                break;
            default:
                break;
        }
    }
}

bool isContinuation(char c) {
    return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80;
}

}  // namespace

void foldNameInPlace(std::string& text) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char& c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + ('a' - 'A'));
        } else if ((c == '\xC3' || c == '\xC5') && i + 1 < n && isContinuation(text[i + 1])) {
            foldTwoByte(c, text[i + 1]);
            ++i;
        }
    }
}

std::string foldName(std::string_view text) {
    std::string folded(text);
    foldNameInPlace(folded);
    return folded;
}

bool nameLessIgnoringCase(std::string_view a, std::string_view b) {
    const std::string fa = foldName(a);
    const std::string fb = foldName(b);
    if (fa != fb) return fa < fb;
    return a < b;
}

}  // namespace tarnwk
