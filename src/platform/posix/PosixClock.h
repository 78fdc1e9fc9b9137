#pragma once

#include "platform/platform.h"

namespace tarnwk::posix {

// Local time in the user's formats. The formats follow the C library's
// locale, which the program sets from the environment at start-up.
class PosixClock final : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() override;
    platform::CalendarDay localDay(std::chrono::system_clock::time_point when) override;
    double secondsSinceMidnight(std::chrono::system_clock::time_point when) override;
    std::string generalDate(std::chrono::system_clock::time_point when) override;
    std::string shortDate(std::chrono::system_clock::time_point when) override;
    std::string longTime(std::chrono::system_clock::time_point when) override;
    std::string decimalSeparator() override;
};

}  // namespace tarnwk::posix
