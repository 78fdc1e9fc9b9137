#include "platform/posix/IniSettingsStore.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PathText.h"
#include "platform/posix/AtomicFile.h"

// File layout: "[SECTION]" lines, then "key=value" lines. Lines starting with
// ';' or '#' are comments; blanks around names and values are ignored; lines
// end in LF or CR LF, and a save leaves every line but its own as it was.
// When a key appears more than once in a section, the first one counts (and
// is the one a save replaces).
//
// Values are escaped so that any text reads back byte for byte: backslash,
// LF, CR and tab are written as \\ \n \r \t, other control bytes as \xHH, and
// the value is wrapped in double quotes when it begins or ends with a blank
// (which would otherwise be trimmed) or begins with a double quote (which
// would otherwise look like the wrapping). Other bytes, UTF-8 included, are
// written as they are.
//
// Names are not escaped: an application, section or key that could not be
// read back as written (empty, blanks at either end, control bytes, '=', '[',
// ']', or a leading ';' or '#') is refused, and so is an application that is
// no plain folder name ('/', "." or "..").

namespace tarnwk::posix {

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
// Anything larger is not a settings file; refuse it rather than load it.
constexpr std::size_t kMaxFileBytes = 1 << 20;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

bool isPlainName(std::string_view name) {
    if (name.empty() || name != trimBlanks(name)) return false;
    if (name.front() == ';' || name.front() == '#') return false;
    for (const char c : name) {
        if (isControl(static_cast<unsigned char>(c))) return false;
        if (c == '=' || c == '[' || c == ']') return false;
    }
    return true;
}

// The application also names a folder and a file.
bool isAppName(std::string_view app) {
    return isPlainName(app) && app.find('/') == std::string_view::npos && app != "." && app != "..";
}

bool areValidNames(std::string_view app, std::string_view section, std::string_view key) {
    return isAppName(app) && isPlainName(section) && isPlainName(key);
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

struct IniText {
    std::vector<std::string> lines;  // as in the file, CR included, LF not
    bool crlf = false;               // the file's style, for lines a save adds
};

// Lines keep their bytes so that a save changes only the line it must.
IniText splitLines(std::string_view content) {
    IniText text;
    text.crlf = content.substr(0, content.find('\n')).ends_with('\r');
    while (!content.empty()) {
        const auto newline = content.find('\n');
        text.lines.emplace_back(content.substr(0, newline));
        content.remove_prefix(newline == std::string_view::npos ? content.size() : newline + 1);
    }
    return text;
}

std::string joinLines(const IniText& text) {
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

Location locate(const IniText& text, std::string_view section, std::string_view key) {
    Location found;
    bool inSection = false;
    int blocksSeen = 0;
    for (std::size_t i = 0; i < text.lines.size(); ++i) {
        if (const auto name = sectionName(text.lines[i])) {
            inSection = equalsIgnoreCase(*name, section);
            if (inSection && ++blocksSeen == 1) found.insertAt = i + 1;
            continue;
        }
        const auto entry = inSection ? keyValue(text.lines[i]) : std::nullopt;
        if (!entry) continue;
        if (equalsIgnoreCase(entry->key, key)) {
            found.keyLine = i;
            return found;
        }
        if (blocksSeen == 1) found.insertAt = i + 1;
    }
    return found;
}

void storeValue(IniText& text, std::string_view section, std::string_view key,
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

// ---- Files ----

enum class ReadStatus { Ok, Missing, Failed, TooLarge };

struct FileContent {
    ReadStatus status = ReadStatus::Failed;
    std::string bytes;
};

bool readAll(int fd, std::string& bytes) {
    char buffer[16384];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > kMaxFileBytes) return errno = EFBIG, false;
    }
}

FileContent readIniFile(const std::string& path) {
    FileContent content;
    // O_NONBLOCK so that a FIFO in the file's place cannot hang the caller.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        content.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
        return content;
    }
    struct stat info {};
    const bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && readAll(fd, content.bytes);
    close(fd);
    content.status = ok               ? ReadStatus::Ok
                     : errno == EFBIG ? ReadStatus::TooLarge
                                      : ReadStatus::Failed;
    return content;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The name of the entry of `folder` that is `name` up to ASCII case: the exact
// name when present, otherwise the alphabetically first match (among folders
// only when `wantFolder`), otherwise `name` itself.
std::string matchingEntry(const std::string& folder, std::string_view name, bool wantFolder) {
    DIR* listing = opendir(folder.c_str());
    if (!listing) return std::string(name);
    std::optional<std::string> best;
    while (const dirent* entry = readdir(listing)) {
        const std::string_view candidate = entry->d_name;
        if (candidate == name) {
            best = candidate;
            break;
        }
        if (!equalsIgnoreCase(candidate, name) || (best && *best < candidate)) continue;
        if (!wantFolder || isFolder(folder + "/" + std::string(candidate))) best = candidate;
    }
    closedir(listing);
    return best.value_or(std::string(name));
}

// Where a link at `path` leads, link after link; `path` itself when it is
// no link.
std::string linkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path at = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
        const fs::path next = fs::read_symlink(at, ec);
        if (ec) break;
        at = next.is_absolute() ? next : (at.parent_path() / next).lexically_normal();
    }
    return at.string();
}

}  // namespace

IniSettingsStore::IniSettingsStore(std::string configHome) : configHome_(std::move(configHome)) {}

std::string IniSettingsStore::iniPath(std::string_view app) const {
    const std::string folder = configHome_ + "/" + matchingEntry(configHome_, app, true);
    return folder + "/" + matchingEntry(folder, std::string(app) + ".ini", false);
}

std::string IniSettingsStore::getSetting(std::string_view app, std::string_view section,
                                         std::string_view key, std::string_view defaultValue) {
    if (!areValidNames(app, section, key)) return std::string(defaultValue);
    const FileContent file = readIniFile(iniPath(app));
    if (file.status != ReadStatus::Ok) return std::string(defaultValue);
    const IniText text = splitLines(file.bytes);
    const Location where = locate(text, section, key);
    if (where.keyLine == kNotFound) return std::string(defaultValue);
    return unescapeValue(keyValue(text.lines[where.keyLine])->storedValue);
}

bool IniSettingsStore::saveSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view value) {
    failure_.clear();
    if (!areValidNames(app, section, key))
        return failure_ = "the name " + std::string(key) + " cannot be stored", false;
    // A link in the file's place (a dotfiles manager's) stays a link: the
    // file it leads to is the one replaced.
    const std::string path = linkTarget(iniPath(app));
    if (!makeFolders(std::string(parentFolder(path))))
        return failure_ = "the folder of " + path + " cannot be made", false;
    // A file that exists but cannot be read would lose its other settings.
    const FileContent file = readIniFile(path);
    if (file.status == ReadStatus::TooLarge)
        return failure_ = path +
                          " is larger than 1 MiB, so it is no settings file; it is kept "
                          "as it is",
               false;
    if (file.status == ReadStatus::Failed)
        return failure_ = path + " cannot be read: " + std::strerror(errno), false;
    IniText text = splitLines(file.bytes);
    storeValue(text, section, key, value);
    std::string error;
    if (!writeFileAtomically(path, joinLines(text), &error))
        return failure_ = path + " cannot be written: " + error, false;
    return true;
}

}  // namespace tarnwk::posix
