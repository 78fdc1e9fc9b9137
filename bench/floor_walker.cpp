// floor_walker: the least work a name scan can do, as the floor tarnwk-scan
// is measured against. Same walk order and matching rules, nothing more:
// each folder opened relative to its parent's descriptor (never through a
// link), raw getdents64 with d_type (a stat only for DT_UNKNOWN), no fstat,
// dot-files skipped, files of a folder before its subfolders, both sorted
// with case ignored, each file name lower-cased and looked up in an
// open-addressing table of definition names. One thread.
//
// Usage: floor_walker DEFINITIONS PATH
// Prints "FOLDER/NAME" per match and a summary on stderr; exit 0 none found,
// 1 found, 2 error.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Dirent64 {
    ino64_t inode;
    off64_t offset;
    unsigned short length;
    unsigned char type;
    char name[];
};

// Lower-cased names in a table at most half full.
class NameSet {
public:
    void load(const std::vector<std::string>& names) {
        std::size_t size = 16;
        while (size < names.size() * 2) size *= 2;
        slots_.assign(size, {});
        for (const std::string& name : names) slots_[slotFor(name)] = name;
    }
    bool contains(std::string_view name) const { return !slots_[slotFor(name)].empty(); }

private:
    std::size_t slotFor(std::string_view name) const {
        std::uint64_t hash = 1469598103934665603ULL;
        for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1))
            if (slots_[at].empty() || slots_[at] == name) return at;
    }
    std::vector<std::string> slots_;
};

void lower(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

// The name parts of a reference file: one entry a line, header line skipped.
bool loadNames(const char* path, NameSet& set) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<std::string> names;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::string name = line.substr(0, line.find('|'));
        while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
        lower(name);
        if (!name.empty()) names.push_back(name);
    }
    set.load(names);
    return true;
}

struct Walker {
    const NameSet& names;
    std::string path;
    long files = 0;
    long found = 0;

    void walk(int fd) {
        // Names of one folder end to end; lower-cased copies beside them.
        std::string arena;
        std::vector<std::pair<std::uint32_t, bool>> entries;  // offset, is a folder
        alignas(Dirent64) char buffer[32768];
        for (long got; (got = syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0;) {
            for (long at = 0; at < got;) {
                const auto* entry = reinterpret_cast<const Dirent64*>(buffer + at);
                at += entry->length;
                const char* name = entry->name;
                if (name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2]))) continue;
                unsigned type = entry->type;
                if (type == DT_UNKNOWN) {
                    struct stat info {};
                    if (fstatat(fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
                    type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : 0;
                }
                if (type == DT_REG && name[0] == '.') continue;
                if (type != DT_REG && type != DT_DIR) continue;
                entries.emplace_back(static_cast<std::uint32_t>(arena.size()), type == DT_DIR);
                arena.append(name, std::strlen(name) + 1);
            }
        }
        const auto nameAt = [&arena](std::uint32_t offset) { return arena.data() + offset; };
        std::sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
            if (a.second != b.second) return !a.second;  // files first
            return strcasecmp(nameAt(a.first), nameAt(b.first)) < 0;
        });
        std::string lowered;
        const std::size_t length = path.size();
        for (const auto& [offset, folder] : entries) {
            if (folder) continue;
            ++files;
            lowered = nameAt(offset);
            lower(lowered);
            if (!names.contains(lowered)) continue;
            ++found;
            std::printf("%s/%s\n", path.c_str(), nameAt(offset));
        }
        for (const auto& [offset, folder] : entries) {
            if (!folder) continue;
            const int child = openat(fd, nameAt(offset), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child < 0) continue;
            path.append("/").append(nameAt(offset));
            walk(child);
            close(child);
            path.resize(length);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: floor_walker DEFINITIONS PATH\n");
        return 2;
    }
    NameSet names;
    if (!loadNames(argv[1], names)) {
        std::fprintf(stderr, "floor_walker: cannot read %s\n", argv[1]);
        return 2;
    }
    const int root = open(argv[2], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0) {
        std::fprintf(stderr, "floor_walker: cannot open %s\n", argv[2]);
        return 2;
    }
    Walker walker{names, argv[2]};
    walker.walk(root);
    close(root);
    std::fprintf(stderr, "floor_walker: %ld files examined, %ld found\n", walker.files,
                 walker.found);
    return walker.found > 0 ? 1 : 0;
}
