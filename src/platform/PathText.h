// Small helpers for paths and text that every layer shares.
#pragma once

#include <string>
#include <string_view>

namespace tarnwk {

// The character that joins folder and file names on this platform, and
// whether a character separates them: Windows takes '/' as well.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr bool isPathSeparator(char c) {
    return c == '\\' || c == '/';
}
#else
inline constexpr char kPathSeparator = '/';
inline constexpr bool isPathSeparator(char c) {
    return c == '/';
}
#endif

// Where the last separator of `path` stands, or npos.
inline std::size_t lastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (isPathSeparator(path[i - 1])) return i - 1;
    return std::string_view::npos;
}

// `folder` and `name` joined by one separator; a folder that already ends in
// one (a root) gets no second.
inline std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || !isPathSeparator(path.back())) path += kPathSeparator;
    path += name;
    return path;
}

// The folder part of `path`: everything before its last separator, the root
// ("/", or a drive's "C:\\") for an entry of the root, "" for a bare name.
inline std::string_view parentFolder(std::string_view path) {
    const auto separator = lastSeparator(path);
    if (separator == std::string_view::npos) return {};
    const bool driveRoot = kPathSeparator == '\\' && separator == 2 && path[1] == ':';
    return path.substr(0, separator == 0 || driveRoot ? separator + 1 : separator);
}

// The part of `path` after its last separator.
inline std::string_view fileName(std::string_view path) {
    const auto separator = lastSeparator(path);
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
