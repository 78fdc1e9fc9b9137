#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwk::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() joined with a relative path.
    std::string operator/(std::string_view relative) const;

    // Creates a file (and its parent folders) holding `content`.
    std::string writeFile(std::string_view relative, std::string_view content = "x") const;
    // Creates a folder and its parents.
    std::string makeFolder(std::string_view relative) const;

private:
    std::string path_;
};

std::string readWholeFile(const std::string& path);
// The names in a folder, sorted; none when it cannot be listed.
inline std::vector<std::string> entryNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tarnwk::test
