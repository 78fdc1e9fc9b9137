#pragma once

#include "platform/platform.h"

namespace tarnwk::win32 {

// Local time in the user's formats: the short date, long time and decimal
// separator of the user's locale (Region settings).
class Win32Clock final : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() override;
    platform::CalendarDay localDay(std::chrono::system_clock::time_point when) override;
    double secondsSinceMidnight(std::chrono::system_clock::time_point when) override;
    std::string generalDate(std::chrono::system_clock::time_point when) override;
    std::string shortDate(std::chrono::system_clock::time_point when) override;
    std::string longTime(std::chrono::system_clock::time_point when) override;
    std::string decimalSeparator() override;
};

}  // namespace tarnwk::win32
