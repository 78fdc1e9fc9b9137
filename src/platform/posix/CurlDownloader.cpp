#include "platform/posix/CurlDownloader.h"

#include "platform/PathText.h"
#include "platform/posix/AtomicFile.h"

#include <curl/curl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tarnwk::posix {
namespace {

// libcurl is opened on the first download: with its TLS and directory
// libraries it would otherwise add to the start of every scan.
struct Curl {
    decltype(&curl_global_init) globalInit;
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_setopt) setopt;
    decltype(&curl_easy_perform) perform;
    decltype(&curl_easy_getinfo) getinfo;
    decltype(&curl_easy_cleanup) cleanup;
};

template <typename Function>
bool bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// Null when libcurl cannot be loaded; then every download fails.
const Curl* curl() {
    static const Curl* const loaded = []() -> const Curl* {
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        static Curl functions{};
        if (!library || !bind(library, "curl_global_init", functions.globalInit) ||
            !bind(library, "curl_easy_init", functions.easyInit) ||
            !bind(library, "curl_easy_setopt", functions.setopt) ||
            !bind(library, "curl_easy_perform", functions.perform) ||
            !bind(library, "curl_easy_getinfo", functions.getinfo) ||
            !bind(library, "curl_easy_cleanup", functions.cleanup) ||
            functions.globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK)
            return nullptr;
        return &functions;
    }();
    return loaded;
}

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

// One transfer into the open file; true for a complete 2xx body.
bool transfer(const Curl& api, const std::string& url, int fd, long connectTimeout,
              long totalTimeout) {
    CURL* curl = api.easyInit();
    if (!curl) return false;
    Target target{fd};
    api.setopt(curl, CURLOPT_URL, url.c_str());
    api.setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api.setopt(curl, CURLOPT_MAXREDIRS, 10L);
    api.setopt(curl, CURLOPT_CONNECTTIMEOUT, connectTimeout);
    api.setopt(curl, CURLOPT_TIMEOUT, totalTimeout);
    api.setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api.setopt(curl, CURLOPT_FAILONERROR, 1L);
    api.setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api.setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api.setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
    api.setopt(curl, CURLOPT_WRITEDATA, &target);
    const CURLcode result = api.perform(curl);
    long status = 0;
    api.getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    api.cleanup(curl);
    return result == CURLE_OK && !target.failed && status >= 200 && status < 300;
}

}  // namespace

CurlDownloader::CurlDownloader(long connectTimeoutSeconds, long totalTimeoutSeconds)
    : connectTimeout_(connectTimeoutSeconds), totalTimeout_(totalTimeoutSeconds) {}

CurlDownloader::~CurlDownloader() = default;

bool CurlDownloader::download(const std::string& url, const std::string& localPath) {
    const Curl* api = curl();
    if (!api) return false;
    std::string temporary = joinPath(folderOrCurrent(localPath), ".download.XXXXXX");
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    fchmod(fd, 0644);
    const bool complete = transfer(*api, url, fd, connectTimeout_, totalTimeout_) && fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (complete && closed && rename(temporary.c_str(), localPath.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

}  // namespace tarnwk::posix
