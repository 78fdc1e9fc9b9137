#include "scan/ReferenceFile.h"

#include "scan/Cp1252.h"

namespace tarnwk {
namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Appends the fields of one line (without its line end) to `fields`.
void readLineFields(std::string_view line, std::vector<std::string>& fields) {
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        std::string_view value;
        std::size_t end;
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            const std::size_t valueEnd = close == std::string_view::npos ? line.size() : close;
            value = line.substr(pos + 1, valueEnd - pos - 1);
            // Whatever follows the closing quote up to the next comma is dropped.
            end = line.find(',', valueEnd);
        } else {
            end = line.find(',', pos);
            value =
                trimBlanks(line.substr(pos, end == std::string_view::npos ? line.npos : end - pos));
        }
        fields.emplace_back(value);
        if (end == std::string_view::npos) return;
        pos = end + 1;
    }
}

}  // namespace

// The fields follow the sequential comma-delimited rules: a field ends at a
// comma or a line end; blanks before a field are skipped; a field that opens
// with a double quote runs to the next double quote, keeps its commas and
// loses whatever follows the closing quote up to the next comma. Where those
// rules leave room, these choices hold:
//  - CR LF, LF and a lone CR each end a line;
//  - a tab counts as a blank;
//  - blanks between a field's last character and the following comma or line
//    end are dropped (blanks inside a field, and inside quotes, are kept);
//  - a line that is empty or holds only blanks yields no field;
//  - an unclosed quote runs to the end of its line, never across lines;
//  - a comma directly before another comma or a line end yields an empty
//    field, which matches nothing.
std::vector<std::string> readReferenceFields(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !isLineEnd(text[end])) ++end;
        const std::string_view line = text.substr(pos, end - pos);
        if (!trimBlanks(line).empty()) readLineFields(line, fields);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return fields;
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
