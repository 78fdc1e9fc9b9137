#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of an INI settings file, without the file: "[SECTION]" lines, then
// "key=value" lines. Lines starting with ';' or '#' are comments; blanks
// around names and values are ignored; lines end in LF or CR LF, and a write
// leaves every line but its own as it was. When a key appears more than once
// in a section, the first one counts (and is the one a write replaces).
// Sections and keys compare without regard to ASCII case.
//
// Values are escaped so that any text reads back byte for byte: backslash,
// LF, CR and tab are written as \\ \n \r \t, other control bytes as \xHH, and
// the value is wrapped in double quotes when it begins or ends with a blank
// (which would otherwise be trimmed) or begins with a double quote (which
// would otherwise look like the wrapping). Other bytes, UTF-8 included, are
// written as they are.
//
// Names are not escaped: only names that read back as written can be stored.

namespace tarnwk::posix {

// False for a section or key that could not be read back as written: empty,
// blanks at either end, control bytes, '=', '[', ']', or a leading ';' or '#'.
bool isIniName(std::string_view name);

// The INI rule for names: equal up to ASCII case.
bool iniNamesEqual(std::string_view a, std::string_view b);

// The value of `key` in `section`, unescaped; nullopt when absent.
std::optional<std::string> iniValue(std::string_view file, std::string_view section,
                                    std::string_view key);

// `file` with `key` in `section` set to `value`: the key's line replaced, or a
// line added to the section's first block, or the section added at the end.
// `section` and `key` must pass isIniName.
std::string withIniValue(std::string_view file, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace tarnwk::posix
