#pragma once

#include <string>
#include <string_view>

namespace tarnwk::posix {

// Replaces the file at `path` with `content` so that a crash leaves either the
// old or the new file, never a torn one: the bytes go to a temporary file in
// the same folder, are flushed to disk, and the temporary file is renamed over
// `path`. On failure the old file is untouched, no temporary file is left, and
// `error` (when given) receives the system's description.
bool writeFileAtomically(const std::string& path, std::string_view content,
                         std::string* error = nullptr);

// Copies the plain file `from` to `to` the same way: complete under a
// temporary name, then renamed over `to`. A `from` that is a link or not a
// plain file is refused.
bool copyFileAtomically(const std::string& from, const std::string& to,
                        std::string* error = nullptr);

// The folder that holds `path`: "." for a bare name.
std::string folderOrCurrent(std::string_view path);

// Creates `path` and any missing parent folders. True when the folder exists
// afterwards.
bool makeFolders(const std::string& path);

}  // namespace tarnwk::posix
