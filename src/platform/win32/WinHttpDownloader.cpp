#include "platform/win32/WinHttpDownloader.h"

#include <windows.h>
// After windows.h, which it needs.
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cwchar>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

class Internet {
public:
    explicit Internet(HINTERNET handle) : handle_(handle) {}
    ~Internet() {
        if (handle_) WinHttpCloseHandle(handle_);
    }
    Internet(const Internet&) = delete;
    Internet& operator=(const Internet&) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    HINTERNET handle_;
};

// The announced length of the body, when there is one.
std::optional<unsigned long long> contentLength(HINTERNET request) {
    wchar_t text[32];
    DWORD size = sizeof text;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX,
                             text, &size, WINHTTP_NO_HEADER_INDEX))
        return std::nullopt;
    wchar_t* end = nullptr;
    const unsigned long long length = std::wcstoull(text, &end, 10);
    if (end == text) return std::nullopt;
    return length;
}

DWORD statusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return 0;
    return status;
}

}  // namespace

WinHttpDownloader::WinHttpDownloader(int connectTimeoutSeconds, const std::atomic<int>* stop,
                                     int longestSeconds)
    : connectTimeout_(connectTimeoutSeconds), stop_(stop), longestSeconds_(longestSeconds) {}

std::optional<std::string> WinHttpDownloader::fetch(const std::string& url, std::size_t maxBytes,
                                                    int timeoutSeconds) {
    using Clock = std::chrono::steady_clock;
    timeoutSeconds = std::max(1, std::min(timeoutSeconds, longestSeconds_));
    const auto deadline = Clock::now() + std::chrono::seconds(timeoutSeconds);
    const auto stopped = [&] { return (stop_ && stop_->load() != 0) || Clock::now() >= deadline; };

    std::wstring wideUrl = toWide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (wideUrl.empty() || !WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return std::nullopt;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    Internet session(WinHttpOpen(L"Tarnwick", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return std::nullopt;
    const int total = timeoutSeconds * 1000;
    WinHttpSetTimeouts(session.get(), total, std::min(connectTimeout_, timeoutSeconds) * 1000,
                       total, total);
    Internet connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection) return std::nullopt;
    // A fresh copy every time: never an answer from a cache on the way.
    const DWORD flags =
        WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    Internet request(WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr,
                                        WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    if (!request) return std::nullopt;
    WinHttpSetTimeouts(request.get(), total, std::min(connectTimeout_, timeoutSeconds) * 1000,
                       total, total);
    DWORD responseTimeout = static_cast<DWORD>(total);
    WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                     sizeof responseTimeout);
    const wchar_t* noCache = L"Cache-Control: no-cache\r\nPragma: no-cache";
    WinHttpAddRequestHeaders(request.get(), noCache, static_cast<DWORD>(-1L),
                             WINHTTP_ADDREQ_FLAG_ADD);
    if (stopped() ||
        !WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr))
        return std::nullopt;
    const DWORD status = statusCode(request.get());
    if (status < 200 || status >= 300) return std::nullopt;
    const auto announced = contentLength(request.get());
    if (announced && *announced > maxBytes) return std::nullopt;

    std::string body;
    char buffer[65536];
    for (;;) {
        if (stopped()) return std::nullopt;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        DWORD receiveTimeout = static_cast<DWORD>(std::max<long long>(1, left.count()));
        WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, &receiveTimeout,
                         sizeof receiveTimeout);
        // What has come, as it comes: a body past the limit is noticed at
        // once, however slowly it trickles.
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.get(), &available)) return std::nullopt;
        const std::size_t room = maxBytes - body.size() + 1;
        const DWORD wanted = static_cast<DWORD>(
            std::min<std::size_t>({available ? available : 1, sizeof buffer, room}));
        DWORD got = 0;
        if (!WinHttpReadData(request.get(), buffer, wanted, &got)) return std::nullopt;
        if (got == 0) break;
        if (body.size() + got > maxBytes) return std::nullopt;
        body.append(buffer, got);
    }
    // A body cut off before its announced end is no body.
    if (announced && body.size() != *announced) return std::nullopt;
    return body;
}

}  // namespace tarnwk::win32
