#include "cli/ConsoleOutput.h"

#include <cerrno>
#include <system_error>

#include "platform/PathText.h"

namespace tarnwk::cli {
namespace {

// U+0080 to U+009F at the start of `text`: terminals obey these as they do
// the controls below 0x20 (U+009B starts a command, U+0085 a line).
bool isUtf8C1Control(std::string_view text) {
    return text.size() >= 2 && text[0] == '\xC2' && static_cast<unsigned char>(text[1]) >= 0x80 &&
           static_cast<unsigned char>(text[1]) <= 0x9F;
}

}  // namespace

std::string escapeLine(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto escaped = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return std::string{'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        // Where the backslash separates folders it is printed as it is: names
        // there hold no control characters, so no escape can be forged.
        if (c == '\\' && kPathSeparator != '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (byte < 0x20 || byte == 0x7F)
            out += escaped(c);
        else if (isUtf8C1Control(text.substr(i)))
            out += escaped(c) + escaped(text[++i]);
        else
            out += c;
    }
    return out;
}

void ConsoleOutput::write(std::string_view bytes) {
    if (failed()) return;
    if (const auto written = console_ ? console_->writeToConsole(bytes) : std::nullopt) {
        if (!*written) error_ = EIO;
        return;
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream_) != bytes.size() ||
        std::fflush(stream_) != 0)
        error_ = errno != 0 ? errno : EIO;
}

std::string ConsoleOutput::failure() const {
    return std::generic_category().message(error_);
}

}  // namespace tarnwk::cli
