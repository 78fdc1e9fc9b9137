#include "cli/ConsoleMessages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tarnwk::cli {

platform::MessageResult ConsoleMessages::messageBox(std::string_view text,
                                                    platform::MessageButtons buttons,
                                                    platform::MessageIcon) {
    // A terminal ends lines with LF alone.
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) line += text[i];
    std::fprintf(stderr, "tarnwk-scan: %s\n", line.c_str());
    switch (buttons) {
        case platform::MessageButtons::YesNo:
            return platform::MessageResult::Yes;
        case platform::MessageButtons::Ok:
        case platform::MessageButtons::OkCancel:
            break;
    }
    return platform::MessageResult::Ok;
}

void ConsoleMessages::endProgram(int exitCode) {
    std::exit(exitCode);
}

}  // namespace tarnwk::cli
