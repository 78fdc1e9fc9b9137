// floor_walker: the least work a name scan can do, as the floor tarnwk-scan
// is measured against. Same walk order and matching rules, nothing more:
// readdir with d_type, dot-files skipped, links never followed, files of a
// folder before its subfolders, both sorted with case ignored, each file
// name lower-cased and looked up in a hash set of definition names.
//
// Usage: floor_walker DEFINITIONS PATH
// Prints "FOLDER/NAME" per match; exit 0 none found, 1 found, 2 error.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The name parts of a reference file: one entry a line, header line skipped.
bool loadNames(const char* path, std::unordered_set<std::string>& names) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto bar = line.find('|');
        if (bar != std::string::npos && bar > 0) names.insert(lowered(line.substr(0, bar)));
    }
    return true;
}

struct Entry {
    std::string key;  // lower-cased: sort key and lookup key
    std::string name;
    bool operator<(const Entry& other) const {
        return key != other.key ? key < other.key : name < other.name;
    }
};

struct Walker {
    const std::unordered_set<std::string>& names;
    std::string path;  // the folder being walked, no trailing '/'
    long files = 0;
    long found = 0;

    // Walks the folder opened as `fd`; takes ownership of it.
    void walk(int fd) {
        DIR* dir = fdopendir(fd);
        if (!dir) {
            close(fd);
            return;
        }
        std::vector<Entry> fileEntries, folderEntries;
        while (const dirent* entry = readdir(dir)) {
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                continue;
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat info;
                if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_LNK;
            }
            if (type == DT_DIR)
                folderEntries.push_back({lowered(name), name});
            else if (type == DT_REG && name[0] != '.')
                fileEntries.push_back({lowered(name), name});
        }
        std::sort(fileEntries.begin(), fileEntries.end());
        for (const Entry& file : fileEntries) {
            ++files;
            if (names.count(file.key)) {
                ++found;
                std::printf("%s/%s\n", path.c_str(), file.name.c_str());
            }
        }
        std::sort(folderEntries.begin(), folderEntries.end());
        const std::size_t length = path.size();
        for (const Entry& folder : folderEntries) {
            const int child =
                openat(fd, folder.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) continue;
            path += '/';
            path += folder.name;
            walk(child);
            path.resize(length);
        }
        closedir(dir);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: floor_walker DEFINITIONS PATH\n");
        return 2;
    }
    std::unordered_set<std::string> names;
    if (!loadNames(argv[1], names)) {
        std::fprintf(stderr, "floor_walker: cannot read %s\n", argv[1]);
        return 2;
    }
    const int fd = open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "floor_walker: cannot read the folder %s\n", argv[2]);
        return 2;
    }
    Walker walker{names, argv[2]};
    // "/" becomes "": paths are printed as FOLDER + '/' + NAME.
    while (!walker.path.empty() && walker.path.back() == '/') walker.path.pop_back();
    walker.walk(fd);
    std::fprintf(stderr, "floor_walker: %ld files examined, %ld found\n", walker.files,
                 walker.found);
    return walker.found > 0 ? 1 : 0;
}
