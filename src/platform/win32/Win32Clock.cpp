#include "platform/win32/Win32Clock.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace tarnwk::win32 {
namespace {

// 100-nanosecond ticks between 1601-01-01 (FILETIME) and 1970-01-01.
constexpr long long kUnixEpochTicks = 116444736000000000LL;

// The local calendar time of `when`, and the ticks below a millisecond it
// drops.
SYSTEMTIME localTime(std::chrono::system_clock::time_point when,
                     long long* subMillisecond = nullptr) {
    const long long ticks =
        std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count() /
            100 +
        kUnixEpochTicks;
    if (subMillisecond) *subMillisecond = ticks % 10000;
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal{}, local{};
    FileTimeToSystemTime(&utc, &universal);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) local = universal;
    return local;
}

std::string localeText(const SYSTEMTIME& time, bool date) {
    wchar_t text[128];
    const int length =
        date ? GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text,
                               static_cast<int>(std::size(text)), nullptr)
             : GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text,
                               static_cast<int>(std::size(text)));
    return length > 1 ? toUtf8(std::wstring_view(text, static_cast<std::size_t>(length - 1)))
                      : std::string();
}

}  // namespace

std::chrono::system_clock::time_point Win32Clock::now() {
    return std::chrono::system_clock::now();
}

platform::CalendarDay Win32Clock::localDay(std::chrono::system_clock::time_point when) {
    const SYSTEMTIME local = localTime(when);
    return {local.wYear, local.wMonth, local.wDay};
}

double Win32Clock::secondsSinceMidnight(std::chrono::system_clock::time_point when) {
    long long below = 0;
    const SYSTEMTIME local = localTime(when, &below);
    return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond +
           local.wMilliseconds / 1000.0 + static_cast<double>(below) / 1e7;
}

std::string Win32Clock::generalDate(std::chrono::system_clock::time_point when) {
    return shortDate(when) + " " + longTime(when);
}

std::string Win32Clock::shortDate(std::chrono::system_clock::time_point when) {
    return localeText(localTime(when), true);
}

std::string Win32Clock::longTime(std::chrono::system_clock::time_point when) {
    return localeText(localTime(when), false);
}

std::string Win32Clock::decimalSeparator() {
    wchar_t separator[8];
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                                       static_cast<int>(std::size(separator)));
    return length > 1 ? toUtf8(std::wstring_view(separator, static_cast<std::size_t>(length - 1)))
                      : ".";
}

}  // namespace tarnwk::win32
