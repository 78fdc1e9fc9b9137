#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace tarnwk {

// The way back to a found file: from the folder the walk started in, by the
// names of the folders below it, never through a link.
struct FileLocation {
    std::string start;
    // The start folder's identity, so a start reached another way is refused.
    platform::FileId startId;
    std::vector<std::string> folders;
    // The file's name on disk.
    std::string fileName;
};

// One finding of a scan: the text the found-item list shows (folder,
// separator, the definition's name part, " > ", its label part), the full
// path for people to read, and the way back to the file for the quarantine
// move.
struct FoundItem {
    std::string text;
    std::string path;
    // The file name as the definition writes it: the name the quarantine copy
    // and the backup copy are made from.
    std::string name;
    // The file's identity when it was found, so a later move can tell that
    // the name now holds another file or a link and leave it alone.
    std::optional<platform::FileId> fileId;
    FileLocation location;
    // The matching entry of the definitions list.
    std::uint32_t definition = 0;
};

// What the walk needs of the window that shows a scan. The scan window
// implements it; so does the command-line scanner.
class ScanView {
public:
    virtual ~ScanView() = default;
    // Serves the event loop, so the window repaints and Abort can be pressed.
    virtual void doEvents() = 0;
    // `Label3`: the folder being searched.
    virtual void showFolder(std::string_view text) = 0;
    // `lblObjectsscannedcount` and `lblAdwareFoundCount`, after every file;
    // a view that shows them words them with the two functions below.
    virtual void showObjectsScanned(std::int32_t count) = 0;
    virtual void showAdwareFound(std::size_t count) = 0;
    // Appends to the found-item list `lstadware`.
    virtual void addFoundItem(FoundItem item) = 0;
    virtual std::size_t foundItemCount() const = 0;
};

// "N Objects scanned" and "N Spyware / Adware found".
std::string objectsScannedText(std::int32_t count);
std::string adwareFoundText(std::size_t count);

}  // namespace tarnwk
