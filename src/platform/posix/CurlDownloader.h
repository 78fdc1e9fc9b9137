#pragma once

#include <atomic>

#include "platform/platform.h"

namespace tarnwk::posix {

// Downloads with libcurl into memory: redirects followed, a time limit on
// connecting and on the whole transfer, a limit on the size. `stop`, when
// given and not 0 (a signal's number, say), ends a transfer at once.
// `longestSeconds` shortens every time limit (for tests).
class CurlDownloader final : public platform::Downloader {
public:
    explicit CurlDownloader(long connectTimeoutSeconds = 15, const std::atomic<int>* stop = nullptr,
                            int longestSeconds = 3600);
    ~CurlDownloader() override;

    std::optional<std::string> fetch(const std::string& url, std::size_t maxBytes,
                                     int timeoutSeconds) override;

private:
    long connectTimeout_;
    const std::atomic<int>* stop_;
    int longestSeconds_;
};

}  // namespace tarnwk::posix
