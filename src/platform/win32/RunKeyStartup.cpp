#include "platform/win32/RunKeyStartup.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {

RunKeyStartup::RunKeyStartup(std::string title, std::string executablePath, std::string runKey)
    : title_(std::move(title)),
      executablePath_(std::move(executablePath)),
      runKey_(std::move(runKey)) {}

std::string RunKeyStartup::commandFor(const std::string& executablePath) {
    return "\"" + executablePath + "\"";
}

bool RunKeyStartup::setRegistered(bool registered) {
    if (registered && (executablePath_.empty() || executablePath_.find('"') != std::string::npos))
        return false;
    HKEY key = nullptr;
    const LSTATUS opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, toWide(runKey_).c_str(), 0, KEY_SET_VALUE, &key);
    // Without a Run key there is no registration to remove.
    if (opened != ERROR_SUCCESS) return !registered && opened == ERROR_FILE_NOT_FOUND;
    const std::wstring name = toWide(title_);
    LSTATUS result;
    if (registered) {
        const std::wstring command = toWide(commandFor(executablePath_));
        result = RegSetValueExW(key, name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(command.c_str()),
                                static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
        result = RegDeleteValueW(key, name.c_str());
        if (result == ERROR_FILE_NOT_FOUND) result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

}  // namespace tarnwk::win32
