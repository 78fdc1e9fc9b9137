#pragma once

#include <string>
#include <string_view>

namespace tarnwk {

// Lower-cases UTF-8 text over the Windows-1252 repertoire (ASCII, Latin-1,
// and Š Œ Ž Ÿ), the letters a definition can hold. Every mapping keeps the
// byte length, so folding works in place. Bytes that are not such a letter,
// invalid UTF-8 included, are left as they are.
void foldNameInPlace(std::string& text);
std::string foldName(std::string_view text);

// Ascending name order with case ignored; names equal but for case keep a
// fixed order by their bytes.
bool nameLessIgnoringCase(std::string_view a, std::string_view b);

}  // namespace tarnwk
