#pragma once

#include <string>
#include <string_view>

#include "common/MakerTexts.h"

namespace tarnwk {

// The maker's texts on the About tab.

inline std::string programInfoText() {
    return "For Windows \u00a9 95, Windows \u00a9 98, Windows \u00a9 NT, Windows \u00a9 XP\n"
           "Windows \u00a9 2000\n"
           "\n"
           "\u00a9 2026 " +
           std::string(kMakerName);
}

// Name and postal address, three lines.
inline std::string makerAddressText() {
    return std::string(kMakerName) +
           "\n"
           "7 Quillings Yard\n"
           "Hollowbridge HB4 2TW";
}

inline std::string legalWarningText() {
    return "Warning: this program is protected by copyright law. Copying or passing it on, in "
           "whole or in part, without the written permission of " +
           std::string(kMakerName) + " is forbidden and may lead to civil and criminal penalties.";
}

// The link label's text: the web server's address as people type it, without
// the scheme.
inline std::string webAddressText(std::string_view serverBase) {
    for (const std::string_view scheme : {"http://", "https://"})
        if (serverBase.substr(0, scheme.size()) == scheme) serverBase.remove_prefix(scheme.size());
    return std::string(serverBase);
}

}  // namespace tarnwk
