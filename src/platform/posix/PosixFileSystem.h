#pragma once

#include "platform/platform.h"

namespace tarnwk::posix {

// Files and folders on Linux. Hidden files are the dot-files; a full scan
// walks the mount points of local file systems; a quick scan walks the
// user's home folder.
class PosixFileSystem final : public platform::FileSystem {
public:
    std::unique_ptr<platform::Folder> openFolder(const std::string& path) override;
    std::string fullPath(const std::string& path) override;
    std::size_t openFolderBudget() override;
    std::vector<platform::Drive> driveList() override;
    std::string quickScanFolder() override;
    platform::ProgramFolders programFolders() override;
    std::string executablePath() override;
    platform::FileLength fileLength(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    bool writeFile(const std::string& path, std::string_view content) override;
    bool removeFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
};

// Where a program whose executable lies in `executableFolder` keeps its
// files. One that finds its definitions beside itself (a build tree, a
// folder it was unpacked to) keeps everything there; one installed under a
// prefix reads <prefix>/share/tarnwick/ref.dat and writes only below
// `userDataHome`/Tarnwick, since the prefix belongs to the system.
platform::ProgramFolders programFoldersFor(const std::string& executableFolder,
                                           const std::string& userDataHome,
                                           bool (*fileExists)(const std::string&));

// An absolute form of `path` without "." and ".." parts and without trailing
// separators (except for the root itself).
std::string normalFolderPath(const std::string& path);

}  // namespace tarnwk::posix
