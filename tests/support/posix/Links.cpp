#include "support/Links.h"

#include <filesystem>

namespace tarnwk::test {

void linkFolder(const std::string& target, const std::string& link) {
    std::filesystem::create_directory_symlink(target, link);
}

bool linkFile(const std::string& target, const std::string& link) {
    std::filesystem::create_symlink(target, link);
    return true;
}

}  // namespace tarnwk::test
