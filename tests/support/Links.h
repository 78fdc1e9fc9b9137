#pragma once

#include <string>

namespace tarnwk::test {

// Makes `link` a symbolic link to the folder `target` (on Windows, where the
// system emulated cannot make one, the host's symbolic link, which it shows
// as a reparse point all the same).
void linkFolder(const std::string& target, const std::string& link);
// Makes `link` a symbolic link to the file `target`; false where the system
// cannot make one it then shows as a link (Windows without the right to,
// or wine, whose links to files look like the files).
bool linkFile(const std::string& target, const std::string& link);

}  // namespace tarnwk::test
