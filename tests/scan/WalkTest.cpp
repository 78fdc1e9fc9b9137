// The walk over the fake file system: order, findings, labels, counters,
// every check point, folders let go of and opened again.
#include <gtest/gtest.h>

#include "scan/FolderLabel.h"
#include "scan/WalkFixture.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;

TEST_F(WalkTest, DepthFirstFilesBeforeSubfoldersInNameOrderWithEveryMatch) {
    for (const char* path : {"/t/Zeta/b.exe", "/t/alpha/sub/b.exe", "/t/alpha/b.exe", "/t/b.exe",
                             "/t/Beta/B.EXE.bak", "/t/alpha/a.dll", "/t/Dup.exe", "/t/xb.exe",
                             "/t/ÉVIL.EXE", "/t/empty.exe", "/t/Ver1.001", "/t/notes.txt"})
        files.addFile(path);
    peek("/t/"_path);
    EXPECT_EQ(view.itemTexts(),
              (Texts{"/t/b.exe > Bee"_path, "/t/dup.exe > One"_path, "/t/DUP.EXE > Two"_path,
                     "/t/empty.exe > "_path, "/t/Évil.exe > Évil > worse"_path,
                     "/t/alpha/A.DLL > Ay"_path, "/t/alpha/b.exe > Bee"_path,
                     "/t/alpha/sub/b.exe > Bee"_path, "/t/Zeta/b.exe > Bee"_path}));
    EXPECT_EQ(view.folderLabels, (Texts{"/t"_path, "/t/alpha"_path, "/t/alpha/sub"_path,
                                        "/t/Beta"_path, "/t/Zeta"_path}));
    EXPECT_EQ(view.objectsScannedLabel, "12 Objects scanned");
    EXPECT_EQ(view.adwareFoundLabel, "9 Spyware / Adware found");
    // The entry keeps the real file; the report names the definition, without
    // its label.
    EXPECT_EQ(view.items[5].path, "/t/alpha/a.dll"_path);
    EXPECT_EQ(state.scanReport.substr(0, 50),
              "\r\nAdware found >/t/b.exe\r\nAdware found >/t/dup.exe"_path);
}

TEST_F(WalkTest, SkipsWhatItMayNotReadReportOrCross) {
    for (const char* path : {"/b.exe", "/s/locked/b.exe", "/s/app/Quarantine/b.exe",
                             "/s/app/Quarantine photos/b.exe", "/mnt/b.exe"})
        files.addFile(test::nativePath(path));
    files.makeUnreadable("/s/locked"_path);
    files.setDevice("/mnt"_path, 2);
    files.addLink("/s/alias"_path, "/mnt"_path);
    excluded = "/s/app/Quarantine"_path;
    stayOnVolume = true;
    peek("/"_path);
    // A root finding shows two separators but keeps the real path.
    EXPECT_EQ(view.itemTexts(),
              (Texts{"//b.exe > Bee"_path, "/s/app/Quarantine photos/b.exe > Bee"_path}));
    EXPECT_EQ(view.items[0].path, "/b.exe"_path);
    EXPECT_EQ(state.objectsScanned, 3) << "quarantined files count but are not reported";
    EXPECT_EQ(view.folderLabels,
              (Texts{"/"_path, "/s"_path, "/s/app"_path, "/s/app/Quarantine"_path,
                     "/s/app/Quarantine photos"_path}));

    stayOnVolume = false;
    excluded = "/s/app/Quarantine photos"_path;
    peek("/s/app/Quarantine photos"_path, false);  // folders only; the start itself excluded
    peek("/"_path, false);
    EXPECT_EQ(view.folderLabels[view.folderLabels.size() - 5], "/mnt"_path)
        << "the other device too";
    EXPECT_EQ(state.objectsScanned, 3);
    peek("/s/app/Quarantine photos"_path);
    EXPECT_EQ(state.objectsScanned, 4);
    EXPECT_EQ(view.items.size(), 2u);
}

TEST(FolderLabel, ShortensPathsPast80Characters) {
    const std::string eighty = "/"_path + std::string(70, 'a') + "/"_path + std::string(8, 'b');
    std::string accented = "/"_path;  // 80 characters of two bytes are shown whole
    for (int i = 0; i < 79; ++i) accented += "é";
    const std::pair<std::string, std::string> cases[] = {
        {eighty, eighty},
        {eighty + "c", "/a.../bbbbbbbbc"_path},
        {accented, accented},
        {accented + "é/x"_path, "/é.../x"_path},
        {"/"_path + std::string(85, 'x'), "/x.../"_path + std::string(85, 'x')},
    };
    for (const auto& [path, label] : cases) EXPECT_EQ(folderLabel(path, kPathSeparator), label);
}

// Per folder: one yield on entry, two after the label, one per file, one per
// subfolder taken, one per subfolder entered.
TEST_F(WalkTest, ServesEventsAtEveryCheckPointAndAnAbortAtAnyStopsTheWalk) {
    for (const char* path :
         {"/t/dup.exe", "/t/x.txt", "/t/s1/b.exe", "/t/s1/deep/b.exe", "/t/s2/x"})
        files.addFile(path);
    peek("/t"_path);
    const int total = view.doEventsCount;
    EXPECT_EQ(total, (1 + 2 + 2 + 2 + 2) + (1 + 2 + 1 + 1 + 1) + (1 + 2 + 1) + (1 + 2 + 1));
    threads = 2;
    for (int abortAt = 1; abortAt <= total; ++abortAt) {
        view = {};
        state = {};
        int scannedAtAbort = -1;
        view.onDoEvents = [&](int count) {
            if (count != abortAt) return;
            state.abortScan = true;
            scannedAtAbort = state.objectsScanned;
        };
        peek("/t"_path);
        peek("/t"_path);  // a later target of the same scan returns at its first check point
        EXPECT_EQ(state.objectsScanned, scannedAtAbort) << abortAt;
        EXPECT_LE(view.doEventsCount, abortAt + 2) << abortAt;  // the label's two yields
    }
    // An abort during a comparison keeps that file's findings and count.
    view = {};
    state = {};
    view.onFoundItem = [&] { state.abortScan = true; };
    peek("/t"_path);
    EXPECT_EQ(view.itemTexts(), (Texts{"/t/dup.exe > One"_path, "/t/DUP.EXE > Two"_path}));
    EXPECT_EQ(view.objectsScannedLabel, "1 Objects scanned");
}

// Each level holds a file, the next level and then a leaf folder, so every
// folder above waits with a child still to open while the walk goes deep.
TEST_F(WalkTest, FoldersLetGoOfOnTheWayDownAreOpenedAgainAndChecked) {
    std::string path = "/deep"_path;
    for (int level = 0; level < 30; ++level) {
        files.addFile(path + "/b.exe"_path);
        files.addFolder(path + "/z"_path);
        path += "/a"_path;
    }
    files.folderBudget = 3;
    for (const unsigned count : {1u, 4u}) {
        threads = count;
        view = {};
        peek("/deep"_path);
        EXPECT_EQ(view.items.size(), 30u) << count << " threads";
        EXPECT_EQ(view.folderLabels.size(), 60u);
    }
    // A folder let go of and then replaced by another of its name, and one
    // not yet entered swapped for a link to the outside: the rest of the
    // first is skipped, and neither stand-in is walked in its place.
    view = {};
    threads = 1;
    files.addFile("/outside/z/b.exe"_path);
    files.addFolder("/deep/y"_path);
    view.onDoEvents = [&](int) {
        if (view.folderLabels.size() != 40 || files.folderExists("/deep/was"_path)) return;
        files.rename("/deep/a"_path, "/deep/was"_path);
        files.addFile("/deep/a/z/b.exe"_path);
        files.rename("/deep/y"_path, "/deep/y-was"_path);
        files.addLink("/deep/y"_path, "/outside"_path);
    };
    peek("/deep"_path);
    EXPECT_EQ(view.items.size(), 30u);
    EXPECT_LT(view.folderLabels.size(), 60u);
    EXPECT_EQ(view.folderLabels.back(), "/deep/z"_path);
}

}  // namespace
}  // namespace tarnwk
