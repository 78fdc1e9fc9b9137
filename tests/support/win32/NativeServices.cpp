#include "NativeServices.h"

#include <windows.h>

#include "platform/PathText.h"
#include "platform/win32/WideText.h"

namespace tarnwk::test {

bool handlesFollowRenamedFolders() {
    return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") == nullptr;
}

NativeSettingsPlace::NativeSettingsPlace(const TempFolder& tmp)
    : key_("Software\\Tarnwick tests\\" + std::string(fileName(tmp.path()))) {}

NativeSettingsPlace::~NativeSettingsPlace() {
    RegDeleteTreeW(HKEY_CURRENT_USER, win32::toWide(key_).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, win32::toWide(key_).c_str());
}

}  // namespace tarnwk::test
