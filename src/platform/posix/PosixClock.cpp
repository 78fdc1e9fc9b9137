#include "platform/posix/PosixClock.h"

#include <clocale>
#include <ctime>

namespace tarnwk::posix {
namespace {

std::tm localTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return parts;
}

std::string format(std::chrono::system_clock::time_point when, const char* pattern) {
    const std::tm parts = localTime(when);
    char text[128];
    const std::size_t length = std::strftime(text, sizeof text, pattern, &parts);
    return std::string(text, length);
}

}  // namespace

std::chrono::system_clock::time_point PosixClock::now() {
    return std::chrono::system_clock::now();
}

platform::CalendarDay PosixClock::localDay(std::chrono::system_clock::time_point when) {
    const std::tm parts = localTime(when);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

double PosixClock::secondsSinceMidnight(std::chrono::system_clock::time_point when) {
    std::tm midnight = localTime(when);
    midnight.tm_hour = midnight.tm_min = midnight.tm_sec = 0;
    midnight.tm_isdst = -1;
    const auto start = std::chrono::system_clock::from_time_t(std::mktime(&midnight));
    return std::chrono::duration<double>(when - start).count();
}

std::string PosixClock::generalDate(std::chrono::system_clock::time_point when) {
    return shortDate(when) + " " + longTime(when);
}

std::string PosixClock::shortDate(std::chrono::system_clock::time_point when) {
    return format(when, "%x");
}

std::string PosixClock::longTime(std::chrono::system_clock::time_point when) {
    return format(when, "%X");
}

std::string PosixClock::decimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    return conventions && conventions->decimal_point && *conventions->decimal_point
               ? conventions->decimal_point
               : ".";
}

}  // namespace tarnwk::posix
