#include "common/ServerAddress.h"

#include <cstdlib>

namespace tarnwk {

// TARNWK_SERVER comes from the build configuration.
std::string serverBaseAddress() {
    const char* configured = std::getenv("TARNWK_SERVER");
    std::string address = configured && *configured ? configured : TARNWK_SERVER;
    while (!address.empty() && address.back() == '/') address.pop_back();
    return address;
}

}  // namespace tarnwk
