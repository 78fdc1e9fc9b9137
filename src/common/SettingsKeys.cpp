#include "common/SettingsKeys.h"

#include <charconv>
#include <cmath>

#include "common/AppIdentity.h"
#include "platform/PathText.h"

namespace tarnwk {

const SettingKey& settingKey(Setting setting) {
    return kSettingKeys[static_cast<std::size_t>(setting)];
}

std::optional<double> parseNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string Settings::text(Setting setting) {
    const SettingKey& key = settingKey(setting);
    return store_.getSetting(kAppTitle, kSettingsSection, key.key, key.defaultText);
}

bool Settings::save(Setting setting, std::string_view text) {
    return store_.saveSetting(kAppTitle, kSettingsSection, settingKey(setting).key, text);
}

std::string Settings::lastFailure() {
    const std::string failure = store_.lastFailure();
    return failure.empty() ? "the settings store refused them" : failure;
}

double Settings::number(Setting setting) {
    if (const auto value = parseNumber(text(setting))) return *value;
    return *parseNumber(settingKey(setting).defaultText);
}

bool Settings::isOn(Setting setting) {
    return number(setting) == 1.0;
}

int Settings::checkBoxState(Setting setting) {
    const double value = std::nearbyint(number(setting));
    if (value < -32768.0 || value > 32767.0)
        return static_cast<int>(*parseNumber(settingKey(setting).defaultText));
    return static_cast<int>(value);
}

}  // namespace tarnwk
