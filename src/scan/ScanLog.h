#pragma once

#include <string>

namespace tarnwk {

struct Program;

// `WriteScanLog`: stores the report of one scan as a new file in the Reports
// folder, named after the current date and the seconds since midnight, with
// the date and time of the run after the findings. The Reports folder is not
// created here. True when the file was written; a failure is left to the
// caller, which finishes its scan either way.
[[nodiscard]] bool WriteScanLog(Program& program, const std::string& report);

// The seconds part of a log name: the value as a 32-bit float with at most 7
// significant digits, no exponent, no trailing zeros, and `decimalSeparator`
// between the whole and the fractional digits.
std::string logSecondsText(double seconds, const std::string& decimalSeparator);

}  // namespace tarnwk
