#include "scan/ScanLog.h"

#include <charconv>
#include <cmath>
#include <ctime>
#include <system_error>

#include "app/Program.h"
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

// The local calendar date of `when`. The program serves its windows from one
// thread, so the shared result of localtime is safe here.
std::tm localDate(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const std::tm* parts = std::localtime(&seconds);
    return parts ? *parts : std::tm{};
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

    const std::tm date = localDate(now);
    std::string name = std::to_string(date.tm_year + 1900) + "-" + std::to_string(date.tm_mon + 1) +
                       "-" + std::to_string(date.tm_mday) +
                       logSecondsText(clock.secondsSinceMidnight(), clock.decimalSeparator()) +
                       ".log";
    const std::string path = program.reportsFolder() + platform::kPathSeparator + name;
    return program.os.files.writeFile(path, encodeCp1252(text));
}

}  // namespace tarnwk
