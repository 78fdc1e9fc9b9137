#pragma once

#include "platform/platform.h"

namespace tarnwk::win32 {

// Files and folders on Windows, through the wide-character calls and the
// \\?\ form of every path, so any name and any length the system holds is
// reached. Hidden and system files are not listed; a full scan walks the
// drives, a quick scan the Windows folder; the program keeps its files
// beside its executable.
class Win32FileSystem final : public platform::FileSystem {
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

}  // namespace tarnwk::win32
