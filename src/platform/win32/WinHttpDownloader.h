#pragma once

#include <atomic>

#include "platform/platform.h"

namespace tarnwk::win32 {

// Downloads with WinHTTP into memory, past the local web cache: redirects
// followed, a time limit on connecting and on the whole transfer, a limit
// on the size. `stop`, when given and not 0, ends a transfer at its next
// block. `longestSeconds` shortens every time limit (for tests).
class WinHttpDownloader final : public platform::Downloader {
public:
    explicit WinHttpDownloader(int connectTimeoutSeconds = 15,
                               const std::atomic<int>* stop = nullptr, int longestSeconds = 3600);

    std::optional<std::string> fetch(const std::string& url, std::size_t maxBytes,
                                     int timeoutSeconds) override;

private:
    int connectTimeout_;
    const std::atomic<int>* stop_;
    int longestSeconds_;
};

}  // namespace tarnwk::win32
