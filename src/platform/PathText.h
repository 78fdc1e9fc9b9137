// Small helpers for paths and text that every layer shares.
#pragma once

#include <string>
#include <string_view>

namespace tarnwk {

// The character that joins folder and file names on this platform.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// `folder` and `name` joined by one separator; a folder that already ends in
// one (a root) gets no second.
inline std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != kPathSeparator) path += kPathSeparator;
    path += name;
    return path;
}

// The folder part of `path`: everything before its last separator, the root
// for an entry of the root, "" for a bare name.
inline std::string_view parentFolder(std::string_view path) {
    const auto separator = path.rfind(kPathSeparator);
    if (separator == std::string_view::npos) return {};
    return path.substr(0, separator == 0 ? 1 : separator);
}

// The part of `path` after its last separator.
inline std::string_view fileName(std::string_view path) {
    const auto separator = path.rfind(kPathSeparator);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// `text` without the blanks and tabs at either end.
inline std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace tarnwk
