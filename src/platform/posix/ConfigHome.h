#pragma once

#include <string>

namespace tarnwk::posix {

// The user's configuration folder: $XDG_CONFIG_HOME when it holds an absolute
// path, otherwise ~/.config.
std::string configHome();

// The user's data folder: $XDG_DATA_HOME when it holds an absolute path,
// otherwise ~/.local/share.
std::string dataHome();

// The user's home folder: $HOME, or the password database's entry.
std::string homeFolder();

}  // namespace tarnwk::posix
