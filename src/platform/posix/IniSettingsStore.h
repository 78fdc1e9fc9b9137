#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk::posix {

// The settings store as one INI file per application:
// <configHome>/<App>/<App>.ini with a [SECTION] per section. Application,
// section and key compare without regard to ASCII case; a stored text reads
// back unchanged (escaped where INI syntax would alter it); every write
// replaces the file atomically. A file that is missing, unreadable or not INI
// reads as empty, so every value falls back to its default.
class IniSettingsStore final : public platform::SettingsStore {
public:
    explicit IniSettingsStore(std::string configHome);

    std::string getSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    bool saveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;

    // The file that holds `app`'s settings (an existing folder whose name
    // differs only in case is reused).
    std::string iniPath(std::string_view app) const;
    std::string lastFailure() override { return failure_; }

private:
    std::string configHome_;
    std::string failure_;
};

}  // namespace tarnwk::posix
