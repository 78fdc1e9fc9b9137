#include "platform/posix/CurlDownloader.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tarnwk::posix {
namespace {

struct Target {
    int fd;
    bool failed = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* userData) {
    auto& target = *static_cast<Target*>(userData);
    std::string_view rest(data, size * count);
    while (!rest.empty()) {
        const ssize_t written = write(target.fd, rest.data(), rest.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            target.failed = true;
            return 0;  // tells curl to stop
        }
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
    return size * count;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// One transfer into the open file; true for a complete 2xx body.
bool transfer(const std::string& url, int fd, long connectTimeout, long totalTimeout) {
    CURL* curl = curl_easy_init();
    if (!curl) return false;
    Target target{fd};
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, totalTimeout);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &target);
    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    return result == CURLE_OK && !target.failed && status >= 200 && status < 300;
}

}  // namespace

CurlDownloader::CurlDownloader(long connectTimeoutSeconds, long totalTimeoutSeconds)
    : connectTimeout_(connectTimeoutSeconds), totalTimeout_(totalTimeoutSeconds) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

CurlDownloader::~CurlDownloader() {
    curl_global_cleanup();
}

bool CurlDownloader::download(const std::string& url, const std::string& localPath) {
    std::string temporary = folderOf(localPath) + "/.download.XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    fchmod(fd, 0644);
    const bool complete = transfer(url, fd, connectTimeout_, totalTimeout_) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (complete && closed && rename(temporary.c_str(), localPath.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace tarnwk::posix
