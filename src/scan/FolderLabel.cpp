#include "scan/FolderLabel.h"

#include <cstdint>

namespace tarnwk {
namespace {

constexpr std::size_t kLongestWholePath = 80;

bool isContinuation(char c) {
    return (static_cast<std::uint8_t>(c) & 0xC0) == 0x80;
}

// Characters, not bytes: the limit is what a person sees. Counts no further
// than needed, as a deep walk asks this of very long paths in every folder.
bool longerThan(std::string_view text, std::size_t characters) {
    std::size_t count = 0;
    for (const char c : text)
        if (!isContinuation(c) && ++count > characters) return true;
    return false;
}

// The byte length of the character that starts at text[pos].
std::size_t characterLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && isContinuation(text[end])) ++end;
    return end - pos;
}

}  // namespace

std::string folderLabel(std::string_view path, char separator) {
    const auto first = path.find(separator);
    if (!longerThan(path, kLongestWholePath) || first == std::string_view::npos)
        return std::string(path);
    std::size_t headEnd = first + 1;
    if (headEnd < path.size()) headEnd += characterLength(path, headEnd);
    std::string label(path.substr(0, headEnd));
    label += "...";
    label += path.substr(path.rfind(separator));
    return label;
}

}  // namespace tarnwk
