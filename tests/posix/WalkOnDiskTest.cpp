// The walk over real folders: dot-files, pipes, permissions, depth past
// PATH_MAX, few descriptors, read-ahead threads.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "scan/WalkFixture.h"
#include "support/Unprivileged.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

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

TEST_F(WalkOnDisk, FilesBeyondPathMaxAreFoundWithFewDescriptors) {
    // Built folder by folder relative to the last, as no path could reach it.
    const std::string level(200, 'd');
    int fd = open(tmp.path().c_str(), O_RDONLY | O_DIRECTORY);
    for (int depth = 0; depth < 30; ++depth) {
        ASSERT_EQ(mkdirat(fd, level.c_str(), 0755), 0);
        const int next = openat(fd, level.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        fd = next;
    }
    close(openat(fd, "b.exe", O_CREAT | O_WRONLY, 0644));
    close(fd);
    EXPECT_TRUE(test::inChildProcess([&] {
        const rlimit few{64, 64};
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
        threads = 2;
        peek(disk, tmp.path());
        ASSERT_EQ(view.items.size(), 1u);
        EXPECT_GT(view.items[0].path.size(), 6000u);
        EXPECT_EQ(view.items[0].location.folders.size(), 30u);
    }));
}

// Names in many orders of case, accents and lengths: every thread count
// walks the same way.
TEST_F(WalkOnDisk, ReadAheadGivesWhatTheWalkAloneGives) {
    std::mt19937 random(7);
    const Texts parts = {"b", "B", "a", "É", "é", "z", "Z", "_", "0", "dup", "DUP"};
    std::vector<std::string> folders = {""};
    for (int i = 0; i < 400; ++i) {
        std::string name;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n)
            name += parts[random() % parts.size()];
        const std::string parent = folders[random() % folders.size()];
        const std::string folder = parent + "/"_path + name + std::to_string(i % 7);
        fs::create_directories(tmp.path() + folder);
        folders.push_back(folder);
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
