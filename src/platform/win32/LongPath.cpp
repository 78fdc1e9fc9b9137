#include "platform/win32/LongPath.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

// Where the share part of "\\server\share\..." starting at `from` ends.
std::size_t afterShare(std::wstring_view path, std::size_t from) {
    const auto server = path.find(L'\\', from);
    if (server == std::wstring_view::npos) return path.size();
    const auto share = path.find(L'\\', server + 1);
    return share == std::wstring_view::npos ? path.size() : share + 1;
}

}  // namespace

std::size_t rootLength(std::wstring_view path) {
    if (path.starts_with(kExtendedUnc)) return afterShare(path, kExtendedUnc.size());
    if (path.starts_with(kExtended)) {
        const std::size_t drive = kExtended.size();
        return path.size() >= drive + 2 && path[drive + 1] == L':'
                   ? std::min(path.size(), drive + 3)
                   : drive;
    }
    if (path.starts_with(L"\\\\")) return afterShare(path, 2);
    if (path.size() >= 2 && path[1] == L':') return std::min<std::size_t>(path.size(), 3);
    return path.starts_with(L"\\") ? 1 : 0;
}

std::wstring fullWidePath(std::string_view path) {
    std::wstring wide = toWide(path);
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    if (wide.empty()) return wide;
    if (!wide.starts_with(kExtended)) {
        std::wstring full(MAX_PATH, L'\0');
        for (;;) {
            const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()),
                                                  full.data(), nullptr);
            if (length == 0) return wide;
            if (length < full.size()) {
                full.resize(length);
                break;
            }
            full.resize(length);
        }
        wide = std::move(full);
    }
    while (wide.size() > rootLength(wide) && wide.back() == L'\\') wide.pop_back();
    return wide;
}

std::wstring extendedPath(std::string_view path) {
    const std::wstring full = fullWidePath(path);
    if (full.empty() || full.starts_with(kExtended)) return full;
    if (full.starts_with(L"\\\\")) return std::wstring(kExtendedUnc) + full.substr(2);
    return std::wstring(kExtended) + full;
}

}  // namespace tarnwk::win32
