#pragma once

#include "platform/platform.h"

namespace tarnwk::posix {

// A folder held open by its descriptor; every operation is relative to it
// and takes a plain name, never a path, and never follows a link.
class PosixFolder final : public platform::Folder {
public:
    // Takes over `fd`, an open folder.
    explicit PosixFolder(int fd, std::optional<platform::FileId> id = {}) : fd_(fd), id_(id) {}
    ~PosixFolder() override;
    PosixFolder(const PosixFolder&) = delete;
    PosixFolder& operator=(const PosixFolder&) = delete;

    platform::FileId id() override;
    bool list(platform::FolderListing& listing) override;
    std::unique_ptr<platform::Folder> openFolder(std::string_view name, bool sameVolume,
                                                 const std::optional<platform::FileId>& expected) override;
    std::optional<platform::FileId> fileId(std::string_view name) override;
    platform::CopyResult copyFile(std::string_view name, platform::Folder& target,
                                  std::string_view targetName, bool replace) override;
    bool removeFile(std::string_view name) override;

    int descriptor() const { return fd_; }

private:
    int fd_;
    std::optional<platform::FileId> id_;
    bool listedBefore_ = false;
};

// Opens the folder at `path`, following links as the user named them; null
// when it is no folder or cannot be opened.
std::unique_ptr<PosixFolder> openFolderAt(const std::string& path);

}  // namespace tarnwk::posix
