// A folder swapped for a link to the outside while the walk is inside the
// tree, on the real file system of each system: nothing outside is listed or
// reported, whichever thread lists the folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "scan/WalkFixture.h"
#include "support/Links.h"

namespace tarnwk {
namespace {

using FolderSwap = WalkOnDisk;

TEST_F(FolderSwap, AFolderSwappedForALinkWhileTheWalkRunsIsNeverFollowed) {
    tmp.writeFile("outside/a/b/b.exe");
    for (const unsigned count : {1u, 2u}) {
        const std::string scan = "scan" + std::to_string(count);
        tmp.writeFile(scan + "/0.txt");
        tmp.writeFile(scan + "/a/b/b.exe");
        view = {};
        threads = count;
        // Once the walk is under way, "a" goes and a link to the outside
        // takes its place.
        view.onDoEvents = [&](int calls) {
            if (calls != 2) return;
            std::filesystem::rename(tmp / (scan + "/a"), tmp / (scan + "/gone"));
            test::linkFolder(tmp / "outside/a", tmp / (scan + "/a"));
        };
        peek(disk, tmp / scan);
        for (const FoundItem& item : view.items)
            EXPECT_EQ(item.path.find(tmp / "outside"), std::string::npos) << item.path;
    }
}

}  // namespace
}  // namespace tarnwk
