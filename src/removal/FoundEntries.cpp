#include "removal/FoundEntries.h"

namespace tarnwk {

bool stillTheFoundFile(platform::FileSystem& files, const FoundItem& item) {
    return item.fileId && files.fileId(item.path) == item.fileId;
}

std::string definitionFileName(const FoundItem& item) {
    if (!item.name.empty()) return item.name;
    return std::string(fileName(item.path));
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

}  // namespace tarnwk
