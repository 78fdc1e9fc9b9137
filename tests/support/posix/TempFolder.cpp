#include "support/TempFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tarnwk::test {

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "tarnwk-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

namespace {

// Empties the open folder `fd` relative to itself, so trees deeper than any
// path can name go too; folders left without permissions get them back.
void removeContents(int fd) {
    DIR* folder = fdopendir(fd);
    if (!folder) return;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (unlinkat(fd, name.c_str(), 0) == 0) continue;
        fchmodat(fd, name.c_str(), 0700, 0);
        const int inner = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (inner >= 0) removeContents(inner);
        unlinkat(fd, name.c_str(), AT_REMOVEDIR);
    }
    closedir(folder);
}

}  // namespace

TempFolder::~TempFolder() {
    chmod(path_.c_str(), 0700);
    const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0) removeContents(fd);
    rmdir(path_.c_str());
}

std::string TempFolder::operator/(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

std::string TempFolder::writeFile(std::string_view relative, std::string_view content) const {
    const std::string full = *this / relative;
    fs::create_directories(fs::path(full).parent_path());
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

std::string TempFolder::makeFolder(std::string_view relative) const {
    const std::string full = *this / relative;
    fs::create_directories(full);
    return full;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace tarnwk::test
