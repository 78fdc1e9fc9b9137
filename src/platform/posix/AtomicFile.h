#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace tarnwk::posix {

// Puts what `fill` writes into the open folder `folderFd` under `name`, so
// that a crash leaves either the old file or the new, never a torn one or a
// stray temporary file: the bytes go to an unnamed file in the folder (a
// named temporary one where the file system has no unnamed files), are
// flushed to disk, and only then take the name. An existing file of that
// name is replaced, or, without `replace`, kept (EEXIST). Returns 0, or the
// system's error number; on failure the old file is untouched and nothing is
// left behind.
int placeInFolder(int folderFd, std::string_view name, mode_t mode, bool replace,
                  const std::function<bool(int)>& fill);

// The same for a file given by path; an existing file keeps its permission
// bits, a new one gets what open(2) would give it.
bool writeFileAtomically(const std::string& path, std::string_view content,
                         std::string* error = nullptr);

// Copies the plain file `fromName` of the folder `fromFolder` to `toName` in
// `toFolder` the same way. A link or anything but a plain file is refused.
int copyFileAt(int fromFolder, std::string_view fromName, int toFolder, std::string_view toName,
               bool replace);

// The folder that holds `path`: "." for a bare name.
std::string folderOrCurrent(std::string_view path);

// Creates `path` and any missing parent folders. True when the folder exists
// afterwards.
bool makeFolders(const std::string& path);

}  // namespace tarnwk::posix
