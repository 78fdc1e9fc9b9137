#include "platform/posix/XdgAutostart.h"

#include <cerrno>
#include <utility>

#include <unistd.h>

#include "platform/posix/AtomicFile.h"

namespace tarnwk::posix {

namespace {

bool hasControlCharacter(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

// The Desktop Entry rules' escaping for any string value: backslashes are
// doubled, and a leading blank is written as \s so that readers do not trim it.
std::string escapeString(std::string_view value) {
    std::string out;
    for (const char c : value) {
        if (c == '\\')
            out += "\\\\";
        else if (c == ' ' && out.empty())
            out += "\\s";
        else
            out += c;
    }
    return out;
}

// The program as one quoted Exec argument: inside the quotes, '"', '`', '$'
// and '\' take a backslash; '%' would start a field code, so it is doubled.
std::string quoteArgument(std::string_view argument) {
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    return out + '"';
}

}  // namespace

XdgAutostart::XdgAutostart(std::string configHome, std::string title, std::string executablePath)
    : configHome_(std::move(configHome)),
      title_(std::move(title)),
      executablePath_(std::move(executablePath)) {}

std::string XdgAutostart::desktopFilePath() const {
    return configHome_ + "/autostart/" + title_ + ".desktop";
}

std::string XdgAutostart::desktopEntry(const std::string& title,
                                       const std::string& executablePath) {
    // No escape makes a control character valid inside Exec, and an empty
    // path names no program.
    if (executablePath.empty() || hasControlCharacter(executablePath)) return {};
    if (hasControlCharacter(title)) return {};
    // Quoting comes first; the string escaping then applies to the quoted
    // result, doubling the backslashes quoting added.
    std::string entry = "[Desktop Entry]\nType=Application\n";
    entry += "Name=" + escapeString(title) + "\n";
    entry += "Exec=" + escapeString(quoteArgument(executablePath)) + "\n";
    entry += "X-GNOME-Autostart-enabled=true\nTerminal=false\n";
    return entry;
}

bool XdgAutostart::setRegistered(bool registered) {
    if (title_.empty() || title_.find('/') != std::string::npos) return false;
    const std::string path = desktopFilePath();
    if (!registered) return unlink(path.c_str()) == 0 || errno == ENOENT;

    const std::string entry = desktopEntry(title_, executablePath_);
    if (entry.empty()) return false;
    return makeFolders(configHome_ + "/autostart") && writeFileAtomically(path, entry);
}

}  // namespace tarnwk::posix
