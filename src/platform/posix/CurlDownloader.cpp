#include "platform/posix/CurlDownloader.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>

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

struct Body {
    std::string bytes;
    std::size_t maxBytes;
    const std::atomic<int>* stop;
    bool tooLong = false;
};

size_t keepBody(char* data, size_t size, size_t count, void* userData) {
    auto& body = *static_cast<Body*>(userData);
    if (body.bytes.size() + size * count > body.maxBytes) {
        body.tooLong = true;
        return 0;  // tells curl to stop
    }
    body.bytes.append(data, size * count);
    return size * count;
}

// Called while the transfer runs; a request to end the program ends it.
int checkStop(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& body = *static_cast<Body*>(userData);
    return body.stop && body.stop->load() != 0 ? 1 : 0;
}

}  // namespace

CurlDownloader::CurlDownloader(long connectTimeoutSeconds, const std::atomic<int>* stop,
                               int longestSeconds)
    : connectTimeout_(connectTimeoutSeconds), stop_(stop), longestSeconds_(longestSeconds) {}

CurlDownloader::~CurlDownloader() = default;

std::optional<std::string> CurlDownloader::fetch(const std::string& url, std::size_t maxBytes,
                                                 int timeoutSeconds) {
    const Curl* api = curl();
    if (!api) return std::nullopt;
    CURL* curl = api->easyInit();
    if (!curl) return std::nullopt;
    Body body{{}, maxBytes, stop_};
    timeoutSeconds = std::min(timeoutSeconds, longestSeconds_);
    api->setopt(curl, CURLOPT_URL, url.c_str());
    api->setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    api->setopt(curl, CURLOPT_MAXREDIRS, 10L);
    api->setopt(curl, CURLOPT_CONNECTTIMEOUT, std::min<long>(connectTimeout_, timeoutSeconds));
    api->setopt(curl, CURLOPT_TIMEOUT, static_cast<long>(timeoutSeconds));
    api->setopt(curl, CURLOPT_NOSIGNAL, 1L);
    api->setopt(curl, CURLOPT_FAILONERROR, 1L);
    api->setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api->setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    // A length announced past the limit is refused before any byte comes.
    api->setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBytes));
    api->setopt(curl, CURLOPT_WRITEFUNCTION, keepBody);
    api->setopt(curl, CURLOPT_WRITEDATA, &body);
    api->setopt(curl, CURLOPT_XFERINFOFUNCTION, checkStop);
    api->setopt(curl, CURLOPT_XFERINFODATA, &body);
    api->setopt(curl, CURLOPT_NOPROGRESS, 0L);
    const CURLcode result = api->perform(curl);
    long status = 0;
    api->getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    api->cleanup(curl);
    if (result != CURLE_OK || body.tooLong || status < 200 || status >= 300) return std::nullopt;
    return std::move(body.bytes);
}

}  // namespace tarnwk::posix
