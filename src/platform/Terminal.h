#pragma once

namespace tarnwk::platform {

// The terminal a command-line program may be talking to.
class Terminal {
public:
    virtual ~Terminal() = default;
    // True when standard error goes to a terminal (not a file or a pipe).
    virtual bool errorIsTerminal() = 0;
    // The terminal's width in characters (80 when it cannot be told).
    virtual int width() = 0;
};

}  // namespace tarnwk::platform
