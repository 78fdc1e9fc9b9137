#pragma once

#include <string>

#include "platform/platform.h"

namespace tarnwk::win32 {

// Settings in the registry, where programs of this kind have always kept
// them: HKEY_CURRENT_USER\<base>\<application>\<section>, one REG_SZ value
// per key. The registry compares names without regard to case.
class RegistrySettingsStore final : public platform::SettingsStore {
public:
    static constexpr const char* kBaseKey = "Software\\VB and VBA Program Settings";
    explicit RegistrySettingsStore(std::string baseKey = kBaseKey);

    std::string getSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    bool saveSetting(std::string_view app, std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::string lastFailure() override { return lastFailure_; }

private:
    std::wstring keyPath(std::string_view app, std::string_view section) const;

    std::string baseKey_;
    std::string lastFailure_;
};

}  // namespace tarnwk::win32
