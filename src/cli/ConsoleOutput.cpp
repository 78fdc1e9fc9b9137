#include "cli/ConsoleOutput.h"

#include <cerrno>
#include <system_error>

namespace tarnwk::cli {

std::string escapeLine(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (byte < 0x20 || byte == 0x7F)
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        else
            out += c;
    }
    return out;
}

void ConsoleOutput::write(std::string_view bytes) {
    if (failed()) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size() ||
        std::fflush(stream_) != 0)
        error_ = errno != 0 ? errno : EIO;
}

std::string ConsoleOutput::failure() const {
    return std::generic_category().message(error_);
}

}  // namespace tarnwk::cli
