#pragma once

#include "platform/platform.h"

namespace tarnwk::posix {

// Files and folders on Linux. Hidden files are the dot-files; a full scan
// walks the mount points of local file systems; a quick scan walks the
// user's home folder.
class PosixFileSystem final : public platform::FileSystem {
public:
    std::optional<platform::FolderContents> readFolder(const std::string& path,
                                                       bool followLink) override;
    std::optional<platform::FileId> folderId(const std::string& path) override;
    std::vector<platform::Drive> driveList() override;
    std::string quickScanFolder() override;
    std::string applicationFolder() override;
    std::string executablePath() override;
    platform::FileLength fileLength(const std::string& path) override;
    std::optional<std::string> readFile(const std::string& path) override;
    bool writeFile(const std::string& path, std::string_view content) override;
    bool copyFile(const std::string& from, const std::string& to) override;
    bool removeFile(const std::string& path) override;
    bool isPlainFile(const std::string& path) override;
    std::optional<platform::FileId> fileId(const std::string& path) override;
    bool createFolder(const std::string& path) override;
};

// An absolute form of `path` without "." and ".." parts and without trailing
// separators (except for the root itself).
std::string normalFolderPath(const std::string& path);

}  // namespace tarnwk::posix
