#include "mainwindow/QuarantineList.h"

#include <algorithm>

#include "common/NameFolding.h"

namespace tarnwk {

std::vector<std::string> quarantineFileNames(platform::FileSystem& files,
                                             const std::string& folder) {
    const auto quarantine = files.openFolder(folder);
    platform::FolderListing listing;
    if (!quarantine || !quarantine->list(listing)) return {};
    std::vector<std::string> names;
    for (std::size_t i = 0; i < listing.size(); ++i)
        if (listing.kind(i) == platform::EntryKind::File) names.emplace_back(listing.name(i));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return nameLessIgnoringCase(a, b);
    });
    return names;
}

}  // namespace tarnwk
