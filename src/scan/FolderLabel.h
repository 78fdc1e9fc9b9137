#pragma once

#include <string>
#include <string_view>

namespace tarnwk {

// The text the scan window shows for the folder being searched: the path
// itself up to 80 characters; a longer path as its start up to and including
// the first separator and one more character, "...", and its end from the
// last separator on.
std::string folderLabel(std::string_view path, char separator);

}  // namespace tarnwk
