#include "scan/ScanLog.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "common/Program.h"
#include "scan/Cp1252.h"

namespace tarnwk {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// The seven significant digits of `value` in fixed notation, written from
// its scientific form so that no exponent can appear.
std::string fixedSevenDigits(float value) {
    char text[32];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 6);
    if (error != std::errc()) return "0";
    const std::string_view scientific(text, static_cast<std::size_t>(end - text));
    const std::size_t e = scientific.find('e');
    int exponent = 0;
    std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1),
                    scientific.data() + scientific.size(), exponent);
    std::string digits;
    for (const char c : scientific.substr(0, e))
        if (c != '.') digits += c;

    std::string whole;
    std::string fraction;
    if (exponent < 0) {
        whole = "0";
        fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto split = static_cast<std::size_t>(exponent) + 1;
        if (split >= digits.size()) {
            whole = digits + std::string(split - digits.size(), '0');
        } else {
            whole = digits.substr(0, split);
            fraction = digits.substr(split);
        }
    }
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    return fraction.empty() ? whole : whole + '.' + fraction;
}

}  // namespace

std::string logSecondsText(double seconds, const std::string& decimalSeparator) {
    const auto value = static_cast<float>(seconds);
    if (!std::isfinite(value)) return "0";
    const std::string digits = fixedSevenDigits(value < 0 ? -value : value);
    const auto point = digits.find('.');
    std::string text = value < 0 ? "-" : "";
    text += digits.substr(0, point);
    if (point != std::string::npos) text += decimalSeparator + digits.substr(point + 1);
    return text;
}

bool WriteScanLog(Program& program, const std::string& report) {
    platform::Clock& clock = program.os.clock;
    const auto now = clock.now();

    std::string text = report.empty() ? "NO Adware found..." + std::string(kCrLf) : report;
    text += kCrLf;
    text += "Test Run : " + clock.shortDate(now) + " at " + clock.longTime(now);
    text += kCrLf;
    // The closing line end of the written line.
    text += kCrLf;

    // The day and the seconds of one instant, so a log written at midnight
    // never takes the day before with the seconds after.
    const platform::CalendarDay day = clock.localDay(now);
    const std::string name =
        std::to_string(day.year) + "-" + std::to_string(day.month) + "-" + std::to_string(day.day) +
        logSecondsText(clock.secondsSinceMidnight(now), clock.decimalSeparator()) + ".log";
    return program.os.files.writeFile(joinPath(program.reportsFolder(), name), encodeCp1252(text));
}

}  // namespace tarnwk
