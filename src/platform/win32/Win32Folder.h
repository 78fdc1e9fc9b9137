#pragma once

#include "platform/platform.h"
#include "platform/win32/NtFiles.h"

namespace tarnwk::win32 {

// A folder held open by its handle. Entries are opened relative to it by
// plain names; reparse points (junctions, symbolic links, mount points) are
// never entered or followed, and an entry is accepted only when the folder
// still lists it, under that name, as the very object that was opened.
class Win32Folder final : public platform::Folder {
public:
    explicit Win32Folder(Handle handle, std::optional<platform::FileId> id = {})
        : handle_(std::move(handle)), id_(id) {}

    platform::FileId id() override;
    bool list(platform::FolderListing& listing) override;
    std::unique_ptr<platform::Folder> openFolder(
        std::string_view name, bool sameVolume,
        const std::optional<platform::FileId>& expected) override;
    std::optional<platform::FileId> fileId(std::string_view name) override;
    platform::CopyResult copyFile(std::string_view name, platform::Folder& target,
                                  std::string_view targetName, bool replace) override;
    bool removeFile(std::string_view name) override;

    HANDLE handle() const { return handle_.get(); }

private:
    // The plain file `name`, opened with `access`, and its identity; null
    // for a folder, a reparse point, or a name swapped while it was opened.
    Handle openPlainFile(std::wstring_view name, ACCESS_MASK access,
                         platform::FileId* id = nullptr);

    Handle handle_;
    std::optional<platform::FileId> id_;
};

// Opens the folder at `path` (UTF-8, any form the system takes), following
// links as the user named them; null when it is no folder or cannot be
// opened.
std::unique_ptr<Win32Folder> openFolderAt(const std::string& path);

}  // namespace tarnwk::win32
