#include "scan/ReferenceFile.h"

#include "common/Program.h"
#include "common/SettingsKeys.h"
#include "scan/Cp1252.h"

namespace tarnwk {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Where a field's text stops: the next comma, line end, or the end.
std::size_t fieldStop(std::string_view text, std::size_t from) {
    while (from < text.size() && text[from] != ',' && !isLineEnd(text[from])) ++from;
    return from;
}

// After a line end (CR LF, LF or a lone CR).
std::size_t pastLineEnd(std::string_view text, std::size_t at) {
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    return at;
}

}  // namespace

std::optional<std::string_view> ReferenceFieldReader::next() {
    for (;;) {
        if (pos_ >= text_.size()) return std::nullopt;
        if (atLineStart_) {
            // A line that is empty or holds only blanks yields no field.
            std::size_t end = pos_;
            while (end < text_.size() && !isLineEnd(text_[end])) ++end;
            if (trimBlanks(text_.substr(pos_, end - pos_)).empty()) {
                pos_ = pastLineEnd(text_, end);
                continue;
            }
            atLineStart_ = false;
        }
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        std::string_view value;
        std::size_t stop;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            // To the next double quote, line ends and commas included; a
            // quote never closed runs to the end of the text. What follows the
            // closing quote up to the next comma or line end is dropped.
            const std::size_t close = text_.find('"', pos_ + 1);
            const std::size_t valueEnd = close == std::string_view::npos ? text_.size() : close;
            value = text_.substr(pos_ + 1, valueEnd - pos_ - 1);
            stop = fieldStop(text_, valueEnd);
        } else {
            stop = fieldStop(text_, pos_);
            value = trimBlanks(text_.substr(pos_, stop - pos_));
        }
        if (stop < text_.size() && text_[stop] == ',') {
            pos_ = stop + 1;
        } else {
            pos_ = pastLineEnd(text_, stop);
            atLineStart_ = true;
        }
        return value;
    }
}

std::vector<std::string> readReferenceFields(std::string_view text) {
    std::vector<std::string> fields;
    ReferenceFieldReader reader(text);
    while (const auto field = reader.next()) fields.emplace_back(*field);
    return fields;
}

std::optional<double> referenceFileVersion(std::string_view bytes) {
    const auto first = ReferenceFieldReader(bytes).next();
    if (!first || !first->starts_with("Ver")) return std::nullopt;
    // The header is plain ASCII; its number is read as the server writes it.
    return parseNumber(first->substr(3));
}

std::string definitionsInUse(platform::FileSystem& files, const std::string& saved,
                             const std::string& bundled) {
    if (bundled.empty()) return saved;
    const platform::LengthStatus status = files.fileLength(saved).status;
    if (status == platform::LengthStatus::NotFound) return bundled;
    if (status == platform::LengthStatus::Failed) return saved;
    const auto versionOf = [&files](const std::string& path) {
        const auto bytes = files.readFile(path);
        return bytes ? referenceFileVersion(*bytes) : std::nullopt;
    };
    const auto bundledVersion = versionOf(bundled);
    if (!bundledVersion) return saved;
    const auto savedVersion = versionOf(saved);
    return savedVersion && *savedVersion >= *bundledVersion ? saved : bundled;
}

std::string definitionsInUse(const Program& program) {
    return definitionsInUse(program.os.files, program.savedReferenceFile(),
                            program.bundledReferenceFile);
}

bool FileExists(platform::FileSystem& files, platform::Messages& messages,
                const std::string& path) {
    const platform::FileLength length = files.fileLength(path);
    switch (length.status) {
        case platform::LengthStatus::Ok:
            return length.bytes > 0;
        case platform::LengthStatus::NotFound:
            return false;
        case platform::LengthStatus::Failed:
            messages.messageBox(length.errorDescription, platform::MessageButtons::Ok,
                                platform::MessageIcon::None);
            return false;
    }
    return false;
}

DefinitionsList loadReferenceFile(platform::FileSystem& files, platform::Messages& messages,
                                  const std::string& path) {
    std::optional<std::string> bytes;
    if (FileExists(files, messages, path)) bytes = files.readFile(path);
    if (!bytes || bytes->empty()) {
        messages.messageBox(kReferenceFileMissingMessage, platform::MessageButtons::Ok,
                            platform::MessageIcon::Critical);
        messages.endProgram(kReferenceFileMissingExitCode);
    }
    return DefinitionsList(readReferenceFields(decodeCp1252(*bytes)));
}

}  // namespace tarnwk
