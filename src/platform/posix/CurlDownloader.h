#pragma once

#include "platform/platform.h"

namespace tarnwk::posix {

// Downloads with libcurl: redirects followed, a time limit on connecting and
// on the whole transfer. The body goes to a temporary file beside the target
// and is renamed into place only when complete.
class CurlDownloader final : public platform::Downloader {
public:
    explicit CurlDownloader(long connectTimeoutSeconds = 15, long totalTimeoutSeconds = 120);
    ~CurlDownloader() override;

    bool download(const std::string& url, const std::string& localPath) override;

private:
    long connectTimeout_;
    long totalTimeout_;
};

}  // namespace tarnwk::posix
