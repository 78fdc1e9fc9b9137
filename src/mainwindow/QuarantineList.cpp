#include "mainwindow/QuarantineList.h"

#include <algorithm>

#include "common/NameFolding.h"

namespace tarnwk {

std::vector<std::string> quarantineFileNames(platform::FileSystem& files,
                                             const std::string& folder) {
    auto contents = files.readFolder(folder, true);
    if (!contents) return {};
    std::vector<std::string> names = std::move(contents->files);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return nameLessIgnoringCase(a, b);
    });
    return names;
}

}  // namespace tarnwk
