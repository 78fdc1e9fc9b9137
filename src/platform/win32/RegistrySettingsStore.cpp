#include "platform/win32/RegistrySettingsStore.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

class Key {
public:
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* put() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Names are single registry path parts: a separator would reach another key.
bool isKeyName(std::string_view name) {
    return !name.empty() && name.find('\\') == std::string_view::npos;
}

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(std::string baseKey) : baseKey_(std::move(baseKey)) {}

std::wstring RegistrySettingsStore::keyPath(std::string_view app, std::string_view section) const {
    return toWide(baseKey_ + "\\" + std::string(app) + "\\" + std::string(section));
}

std::string RegistrySettingsStore::getSetting(std::string_view app, std::string_view section,
                                              std::string_view key, std::string_view defaultValue) {
    const std::string fallback(defaultValue);
    if (!isKeyName(app) || !isKeyName(section)) return fallback;
    Key opened;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, KEY_QUERY_VALUE,
                      opened.put()) != ERROR_SUCCESS)
        return fallback;
    const std::wstring name = toWide(key);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    // Read as stored: a value may hold NUL characters of its own.
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
        return fallback;
    value.resize(size / sizeof(wchar_t));
    if (!value.empty() && value.back() == L'\0') value.pop_back();
    return toUtf8(value);
}

bool RegistrySettingsStore::saveSetting(std::string_view app, std::string_view section,
                                        std::string_view key, std::string_view value) {
    if (!isKeyName(app) || !isKeyName(section)) {
        lastFailure_ = errorText(ERROR_INVALID_NAME);
        return false;
    }
    Key opened;
    LSTATUS result = RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(app, section).c_str(), 0, nullptr,
                                     0, KEY_SET_VALUE, nullptr, opened.put(), nullptr);
    if (result == ERROR_SUCCESS) {
        const std::wstring name = toWide(key);
        const std::wstring data = toWide(value);
        result = RegSetValueExW(opened.get(), name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    if (result == ERROR_SUCCESS) return true;
    lastFailure_ = errorText(static_cast<unsigned long>(result));
    return false;
}

}  // namespace tarnwk::win32
