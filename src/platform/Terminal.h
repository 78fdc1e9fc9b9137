#pragma once

#include <optional>
#include <string_view>

namespace tarnwk::platform {

// The terminal a command-line program may be talking to.
class Terminal {
public:
    virtual ~Terminal() = default;
    // True when standard error goes to a terminal (not a file or a pipe).
    virtual bool errorIsTerminal() = 0;
    // The terminal's width in characters (80 when it cannot be told).
    virtual int width() = 0;
    // Writes UTF-8 `text` to the console standard output is attached to, in
    // the console's own characters: whether that worked, or nullopt when
    // standard output is no such console and takes the bytes as they are.
    virtual std::optional<bool> writeToConsole(std::string_view text) {
        (void)text;
        return std::nullopt;
    }
};

}  // namespace tarnwk::platform
