#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/DefinitionsList.h"
#include "platform/platform.h"

namespace tarnwk {

struct Program;

// The message of the missing-reference-file stop.
inline constexpr std::string_view kReferenceFileMissingMessage =
    "Reference file not found cannot launch application. Contact provider for help\r\n"
    "Application will now terminate";
inline constexpr int kReferenceFileMissingExitCode = 2;

// The fields of a reference file's text, one after the other, by the
// sequential comma-delimited rules: a field ends at a comma or a line end;
// blanks before a field are skipped; a field that opens with a double quote
// runs to the next double quote (across line ends too, and to the end of the
// text when never closed), keeps its commas and loses whatever follows the
// closing quote up to the next comma or line end. Where those rules leave
// room, these choices hold: CR LF, LF and a lone CR each end a line; a tab
// counts as a blank; blanks after a field's last character are dropped
// (blanks inside a field, and inside quotes, are kept); a line that is empty
// or holds only blanks yields no field; a comma directly before another comma
// or a line end yields an empty field, which matches nothing.
class ReferenceFieldReader {
public:
    explicit ReferenceFieldReader(std::string_view text) : text_(text) {}
    // The next field (a view into the text), or nullopt at the end.
    std::optional<std::string_view> next();

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool atLineStart_ = true;
};

// Every field of a reference file's text, in file order.
std::vector<std::string> readReferenceFields(std::string_view text);

// The definitions version a reference file declares: its first field is
// "Ver" and a decimal number ("." as the decimal point). The one rule for the
// local file, a downloaded one and what the command line shows; nullopt when
// the first field is not that.
std::optional<double> referenceFileVersion(std::string_view bytes);

// The definitions in use: the copy downloaded into the program's folder
// (`saved`) or those that came with the program (`bundled`; empty when the
// two are one file), whichever declares the higher version, so a newer
// program's definitions are not hidden by an older download. The downloaded
// copy on a tie, when neither declares a version, and when it exists but
// cannot be read (so that its fault is the one reported).
std::string definitionsInUse(platform::FileSystem& files, const std::string& saved,
                             const std::string& bundled);
std::string definitionsInUse(const Program& program);

// True when the file exists and holds at least one byte. A failure other than
// "not found" shows the system's description first.
bool FileExists(platform::FileSystem& files, platform::Messages& messages, const std::string& path);

// Reads the reference file at `path` into a definitions list. A file that is
// missing, empty, or cannot be read shows the missing-reference-file message
// and ends the program.
DefinitionsList loadReferenceFile(platform::FileSystem& files, platform::Messages& messages,
                                  const std::string& path);

}  // namespace tarnwk
