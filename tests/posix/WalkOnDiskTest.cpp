// The walk over real folders: dot-files, pipes, permissions, read-ahead
// threads. The quarantine's scenario walks past PATH_MAX with few descriptors.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "platform/posix/PosixFileSystem.h"
#include "scan/WalkFixture.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

class WalkOnDisk : public WalkTest {
protected:
    test::TempFolder tmp;
    posix::PosixFileSystem disk;
};

// Links are the listing's to skip, in the file system's contract.
TEST_F(WalkOnDisk, DotFilesPipesAndFoldersThatCannotBeListedAreSkipped) {
    for (const char* name : {".b.exe", ".config/b.exe", "locked/b.exe", "open/b.exe"})
        tmp.writeFile(name);
    ASSERT_EQ(mkfifo((tmp / "dup.exe").c_str(), 0600), 0);
    EXPECT_TRUE(test::asUnprivilegedUser(tmp.path(), [&] {
        ASSERT_EQ(chmod((tmp / "locked").c_str(), 0), 0);
        peek(disk, tmp.path());
        EXPECT_EQ(view.itemTexts(), (Texts{tmp / ".config/b.exe > Bee", tmp / "open/b.exe > Bee"}));
        EXPECT_EQ(state.objectsScanned, 2);
    }));
}

// Names in many orders of case, accents and lengths: every thread count
// walks the same way.
TEST_F(WalkOnDisk, ReadAheadGivesWhatTheWalkAloneGives) {
    std::mt19937 random(7);
    const Texts parts = {"b", "B", "a", "É", "é", "z", "Z", "_", "0", "dup", "DUP"};
    std::vector<std::string> folders = {""};
    for (int i = 0; i < 400; ++i) {
        std::string folder = folders[random() % folders.size()] + "/"_path;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n)
            folder += parts[random() % parts.size()];
        folder += std::to_string(i % 7);
        fs::create_directories(tmp.path() + folders.emplace_back(folder));
        if (i % 3 == 0) tmp.writeFile(folder.substr(1) + (i % 2 ? "/b.exe"_path : "/DUP.exe"_path));
    }
    std::vector<std::tuple<Texts, Texts, std::string, int>> runs;
    for (const unsigned count : {1u, 2u, 5u}) {
        view = {};
        state = {};
        threads = count;
        peek(disk, tmp.path());
        runs.emplace_back(view.itemTexts(), view.folderLabels, state.scanReport,
                          view.doEventsCount);
    }
    EXPECT_GT(std::get<0>(runs[0]).size(), 100u);
    for (const auto& run : runs) EXPECT_EQ(run, runs[0]);
}

}  // namespace
}  // namespace tarnwk
