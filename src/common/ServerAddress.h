#pragma once

#include <string>

namespace tarnwk {

// The maker's web server, for the help pages and the published definitions:
// $TARNWK_SERVER when set, else the address the build was configured with;
// without a trailing "/".
std::string serverBaseAddress();

}  // namespace tarnwk
