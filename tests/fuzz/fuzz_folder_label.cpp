// The scan window's folder label keeps what its comment promises.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "scan/FolderLabel.h"

namespace {

std::size_t characters(std::string_view text) {
    return static_cast<std::size_t>(
        std::ranges::count_if(text, [](char c) { return (c & 0xC0) != 0x80; }));
}

// Each lead byte followed by its continuation bytes: what cutting text apart
// can break.
bool isWellFormedUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const int ones = std::countl_one(static_cast<unsigned char>(text[i]));
        const std::size_t length = ones == 0 ? 1 : ones;
        if (ones == 1 || ones > 4 || i + length > text.size()) return false;
        for (const char c : text.substr(i + 1, length - 1))
            if ((c & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view path(reinterpret_cast<const char*>(data), size);
    const std::string label = tarnwk::folderLabel(path, '/');
    const auto first = path.find('/');
    if (characters(path) <= 80 || first == std::string_view::npos)
        return FUZZ_CHECK(label == path), 0;
    // The start to the first separator and one character more, "...", the end.
    const std::string_view end = path.substr(path.rfind('/'));
    const std::size_t shortForm =
        characters(path.substr(0, first + 1)) + (first + 1 < size ? 1 : 0) + 3 + characters(end);
    FUZZ_CHECK(characters(label) <= std::max(characters(path), shortForm));
    FUZZ_CHECK(label.starts_with(path.substr(0, first + 1)) && label.ends_with(end));
    FUZZ_CHECK(!isWellFormedUtf8(path) || isWellFormedUtf8(label));
    return 0;
}
