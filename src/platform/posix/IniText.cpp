#include "platform/posix/IniText.h"

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/PathText.h"

namespace tarnwk::posix {

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// ---- Values ----

bool needsQuotes(std::string_view value) {
    return !value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '"');
}

std::string escapeValue(std::string_view value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (isControl(byte))
            out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        else
            out += c;
    }
    return needsQuotes(value) ? '"' + out + '"' : out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    const char lower = lowerAscii(c);
    if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
    return -1;
}

// The byte a backslash sequence at the start of `escape` stands for, and its
// length; nullopt for a sequence this format never writes, which is kept as
// it is so hand-edited values survive.
std::optional<std::pair<char, std::size_t>> decodeEscape(std::string_view escape) {
    if (escape.size() < 2) return std::nullopt;
    switch (escape[1]) {
        case '\\':
            return std::pair{'\\', std::size_t{2}};
        case 'n':
            return std::pair{'\n', std::size_t{2}};
        case 'r':
            return std::pair{'\r', std::size_t{2}};
        case 't':
            return std::pair{'\t', std::size_t{2}};
        case 'x': {
            if (escape.size() < 4) return std::nullopt;
            const int high = hexDigit(escape[2]);
            const int low = hexDigit(escape[3]);
            if (high < 0 || low < 0) return std::nullopt;
            return std::pair{static_cast<char>(high * 16 + low), std::size_t{4}};
        }
        default:
            return std::nullopt;
    }
}

std::string unescapeValue(std::string_view stored) {
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"')
        stored = stored.substr(1, stored.size() - 2);
    std::string out;
    while (!stored.empty()) {
        const auto decoded = stored.front() == '\\' ? decodeEscape(stored) : std::nullopt;
        out += decoded ? decoded->first : stored.front();
        stored.remove_prefix(decoded ? decoded->second : 1);
    }
    return out;
}

// ---- Lines ----

struct IniLines {
    std::vector<std::string> lines;  // as in the file, CR included, LF not
    bool crlf = false;               // the file's style, for lines a save adds
};

// Lines keep their bytes so that a save changes only the line it must.
IniLines splitLines(std::string_view content) {
    IniLines text;
    text.crlf = content.substr(0, content.find('\n')).ends_with('\r');
    while (!content.empty()) {
        const auto newline = content.find('\n');
        text.lines.emplace_back(content.substr(0, newline));
        content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
    }
    return text;
}

std::string joinLines(const IniLines& text) {
    std::string content;
    for (const auto& line : text.lines) content += line + '\n';
    return content;
}

std::string_view withoutCr(std::string_view line) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    return line;
}

std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(withoutCr(line));
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return trimBlanks(line.substr(1, line.size() - 2));
}

struct KeyValue {
    std::string_view key;
    std::string_view storedValue;
};

std::optional<KeyValue> keyValue(std::string_view line) {
    line = trimBlanks(withoutCr(line));
    if (line.empty() || line.front() == ';' || line.front() == '#' || line.front() == '[')
        return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return KeyValue{trimBlanks(line.substr(0, equals)), trimBlanks(line.substr(equals + 1))};
}

struct Location {
    std::size_t keyLine = kNotFound;
    // Where a new key goes: after the last key of the section's first block.
    std::size_t insertAt = kNotFound;
};

Location locate(const IniLines& text, std::string_view section, std::string_view key) {
    Location found;
    bool inSection = false;
    int blocksSeen = 0;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        if (const auto name = sectionName(text.lines[i])) {
            inSection = iniNamesEqual(*name, section);
            if (inSection && ++blocksSeen == 1) found.insertAt = i + 1;
            continue;
        }
        const auto entry = inSection ? keyValue(text.lines[i]) : std::nullopt;
        if (!entry) continue;
        if (iniNamesEqual(entry->key, key)) {
            found.keyLine = i;
            return found;
        }
        if (blocksSeen == 1) found.insertAt = i + 1;
    }
    return found;
}

void storeValue(IniLines& text, std::string_view section, std::string_view key,
                std::string_view value) {
    const Location where = locate(text, section, key);
    const std::string cr = text.crlf ? "\r" : "";
    const std::string escaped = escapeValue(value);
    if (where.keyLine != kNotFound) {
        // Keep the key as first written, and the line's own ending.
        std::string& line = text.lines[where.keyLine];
        const std::string lineCr = line.ends_with('\r') ? "\r" : "";
        line = std::string(keyValue(line)->key) + "=" + escaped + lineCr;
    } else if (where.insertAt != kNotFound) {
        const auto at = text.lines.begin() + static_cast<std::ptrdiff_t>(where.insertAt);
        text.lines.insert(at, std::string(key) + "=" + escaped + cr);
    } else {
        if (!text.lines.empty() && !trimBlanks(withoutCr(text.lines.back())).empty())
            text.lines.push_back(cr);
        text.lines.push_back("[" + std::string(section) + "]" + cr);
        text.lines.push_back(std::string(key) + "=" + escaped + cr);
    }
}

}  // namespace

bool iniNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool isIniName(std::string_view name) {
    if (name.empty() || name != trimBlanks(name)) return false;
    if (name.front() == ';' || name.front() == '#') return false;
    for (const char c : name) {
        if (isControl(static_cast<unsigned char>(c))) return false;
        if (c == '=' || c == '[' || c == ']') return false;
    }
    return true;
}

std::optional<std::string> iniValue(std::string_view file, std::string_view section,
                                    std::string_view key) {
    const IniLines text = splitLines(file);
    const Location where = locate(text, section, key);
    if (where.keyLine == kNotFound) return std::nullopt;
    return unescapeValue(keyValue(text.lines[where.keyLine])->storedValue);
}

std::string withIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view value) {
    IniLines text = splitLines(file);
    storeValue(text, section, key, value);
    return joinLines(text);
}

}  // namespace tarnwk::posix
