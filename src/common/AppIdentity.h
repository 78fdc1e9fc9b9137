#pragma once

#include <string>
#include <string_view>

namespace tarnwk {

// The application title: settings-store application name, message-box
// caption, tray tip and start-at-login name.
inline constexpr std::string_view kAppTitle = "Tarnwick";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 1;
inline constexpr int kVersionRevision = 68;
// The executable's file and product version.
inline constexpr std::string_view kFileVersion = "1.01.0068";

// The main-window caption: "Tarnwick 1.1".
inline std::string mainWindowCaption() {
    return std::string(kAppTitle) + " " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor);
}

// Fixed names inside the application folder.
inline constexpr std::string_view kReferenceFileName = "ref.dat";
inline constexpr std::string_view kQuarantineFolderName = "Quarantine";
inline constexpr std::string_view kReportsFolderName = "Reports";

}  // namespace tarnwk
