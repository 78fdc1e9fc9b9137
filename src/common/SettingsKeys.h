#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace tarnwk {

// Every value the program keeps between runs: key, text stored when absent.
enum class Setting {
    AUTORUN,
    AUTOSCAN,
    AUTOUPDATE,
    AUTOLOG,
    AUTOSHOW,
    LASTRUN,
    SCANCOUNT,
    TOTALOBJECTSREMOVED,
};

struct SettingKey {
    Setting setting;
    std::string_view key;
    std::string_view defaultText;
};

inline constexpr std::string_view kSettingsSection = "SETTINGS";

inline constexpr std::array<SettingKey, 8> kSettingKeys{{
    {Setting::AUTORUN, "AUTORUN", "0"},
    {Setting::AUTOSCAN, "AUTOSCAN", "0"},
    {Setting::AUTOUPDATE, "AUTOUPDATE", "0"},
    {Setting::AUTOLOG, "AUTOLOG", "0"},
    {Setting::AUTOSHOW, "AUTOSHOW", "1"},
    {Setting::LASTRUN, "LASTRUN", "Never"},
    {Setting::SCANCOUNT, "SCANCOUNT", "0"},
    {Setting::TOTALOBJECTSREMOVED, "TOTALOBJECTSREMOVED", "0"},
}};

const SettingKey& settingKey(Setting setting);

// The text as a decimal number, blanks around it allowed; nullopt when it is
// not one.
std::optional<double> parseNumber(std::string_view text);

// The program's values in the per-user store, under the application title and
// the section "SETTINGS". Texts that are not numbers, possible only after an
// edit outside the program, read as the key's default.
class Settings {
public:
    explicit Settings(platform::SettingsStore& store) : store_(store) {}

    std::string text(Setting setting);
    [[nodiscard]] bool save(Setting setting, std::string_view text);
    // Why the last save failed, in words for the user (never empty after one).
    std::string lastFailure();

    // The value as a number.
    double number(Setting setting);
    // A preference is on only when its value is numerically 1.
    bool isOn(Setting setting);
    // The value as a check box state: the number rounded to an integer.
    int checkBoxState(Setting setting);

private:
    platform::SettingsStore& store_;
};

}  // namespace tarnwk
