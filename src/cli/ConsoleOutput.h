#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/Terminal.h"

namespace tarnwk::cli {

// `text` as one line of a terminal that reads back unambiguously: a
// backslash doubled (kept as it is where it separates folders), tab and line ends as \t \n \r,
// every other control character as \xHH for each of its bytes (C1 controls in UTF-8 included).
// Nothing else is changed, so a file name can never forge a line or a
// terminal command.
std::string escapeLine(std::string_view text);

// A standard stream, written through at once. A failed write (a closed
// stream, a full disk, a reader gone) is kept: nothing more is written and
// the command ends with an error.
class ConsoleOutput {
public:
    // `console`, when given, takes the text first (standard output only).
    explicit ConsoleOutput(std::FILE* stream, platform::Terminal* console = nullptr)
        : stream_(stream), console_(console) {}
    void write(std::string_view bytes);
    bool failed() const { return error_ != 0; }
    // The system's description of the first failure.
    std::string failure() const;

private:
    std::FILE* stream_;
    platform::Terminal* console_;
    int error_ = 0;
};

}  // namespace tarnwk::cli
