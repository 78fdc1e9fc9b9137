#pragma once

#include <string>
#include <string_view>

namespace tarnwk {

// Decodes text in the Windows-1252 code page to UTF-8. The five bytes the code
// page leaves undefined map to the C1 control of the same number, as Windows
// does.
std::string decodeCp1252(std::string_view bytes);

// Encodes UTF-8 text in the Windows-1252 code page, the reverse of
// decodeCp1252. A character the page cannot hold, and each byte of invalid
// UTF-8, becomes "?".
std::string encodeCp1252(std::string_view utf8);

}  // namespace tarnwk
