#include "removal/FoundEntries.h"

namespace tarnwk {

std::unique_ptr<platform::Folder> openFoundFolder(platform::FileSystem& files,
                                                  const FoundItem& item) {
    const FileLocation& location = item.location;
    if (!item.fileId) return nullptr;
    std::unique_ptr<platform::Folder> folder = files.openFolder(location.start);
    if (!folder || folder->id() != location.startId) return nullptr;
    for (const std::string& name : location.folders)
        if (!(folder = folder->openFolder(name))) return nullptr;
    if (folder->fileId(location.fileName) != item.fileId) return nullptr;
    return folder;
}

std::string definitionFileName(const FoundItem& item) {
    return item.name.empty() ? item.location.fileName : item.name;
}

std::vector<std::size_t> markedPositions(const ui::ListBox& list) {
    std::vector<std::size_t> positions;
    const std::size_t count = list.count();
    for (std::size_t i = 0; i < count; ++i)
        if (list.selected(i)) positions.push_back(i);
    return positions;
}

void removeEntries(ui::ListBox& list, std::vector<FoundItem>& found,
                   const std::vector<std::size_t>& positions) {
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        list.removeItem(*it);
        if (*it < found.size()) found.erase(found.begin() + static_cast<std::ptrdiff_t>(*it));
    }
}

std::string notRemovedMessage(const NotRemoved& notRemoved) {
    const auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string text = count(notRemoved.total(), "marked file could not be removed",
                             "marked files could not be removed") +
                       " and stay marked in the list:";
    if (notRemoved.changed > 0)
        text += "\r\n- " + count(notRemoved.changed, "is", "are") +
                " no longer the file the scan found (gone, replaced, or reached through a link "
                "now)";
    if (notRemoved.notCopied > 0)
        text += "\r\n- " + count(notRemoved.notCopied, "could", "could") +
                " not be copied into quarantine (the disk may be full, or rights are missing)";
    if (notRemoved.notDeleted > 0)
        text += "\r\n- " + count(notRemoved.notDeleted, "could", "could") +
                " not be deleted (rights are missing)";
    return text;
}

}  // namespace tarnwk
