#include <gtest/gtest.h>

#include "scan/Peek.h"
#include "support/FakePlatform.h"
#include "support/RecordingScanView.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;

class PeekTest : public ::testing::Test {
protected:
    test::FakeFileSystem files;
    test::RecordingScanView view;
    ScanState state;
    DefinitionsList definitions{Texts{"Ver1.001", "b.exe|Bee", "A.DLL|Ay", "dup.exe|One",
                                      "DUP.EXE|Two", "Évil.exe|Évil > worse", "quarantined.exe|Q",
                                      "empty.exe|"}};
    DefinitionIndex index{definitions};
    Walk walk{files, definitions, index, view, state};

    void peek(const std::string& location, bool getFiles = true) { walk.Peek(location, getFiles); }
};

TEST_F(PeekTest, FilesDriveTheOuterLoopAndKeepTheDefinitionsCase) {
    files.addFile("/scan/b.exe");
    files.addFile("/scan/a.dll");
    peek("/scan");
    EXPECT_EQ(view.itemTexts(), (Texts{"/scan/A.DLL > Ay", "/scan/b.exe > Bee"}));
    // The real path names the file on disk, not the definition.
    EXPECT_EQ(view.items[0].path, "/scan/a.dll");
    EXPECT_EQ(state.scanReport, "\r\nAdware found >/scan/A.DLL\r\nAdware found >/scan/b.exe");
}

TEST_F(PeekTest, DepthFirstFilesBeforeSubfoldersInNameOrderIgnoringCase) {
    for (const char* path : {"/t/Zeta/b.exe", "/t/alpha/sub/b.exe", "/t/alpha/b.exe", "/t/b.exe",
                             "/t/Beta/b.exe", "/t/alpha/A.dll"})
        files.addFile(path);
    peek("/t/");
    EXPECT_EQ(view.itemTexts(),
              (Texts{"/t/b.exe > Bee", "/t/alpha/A.DLL > Ay", "/t/alpha/b.exe > Bee",
                     "/t/alpha/sub/b.exe > Bee", "/t/Beta/b.exe > Bee", "/t/Zeta/b.exe > Bee"}));
    EXPECT_EQ(view.folderLabels, (Texts{"/t", "/t/alpha", "/t/alpha/sub", "/t/Beta", "/t/Zeta"}));
}

TEST_F(PeekTest, OneFindingPerMatchingEntryAndOnlyWholeNames) {
    files.addFile("/s/Dup.exe");
    files.addFile("/s/b.exe.bak");
    files.addFile("/s/xb.exe");
    files.addFile("/s/ÉVIL.EXE");
    files.addFile("/s/empty.exe");
    files.addFile("/s/Ver1.001");
    peek("/s");
    EXPECT_EQ(view.itemTexts(), (Texts{"/s/dup.exe > One", "/s/DUP.EXE > Two", "/s/empty.exe > ",
                                       "/s/Évil.exe > Évil > worse"}));
    EXPECT_EQ(state.scanReport.find("worse"), std::string::npos) << "the report leaves labels out";
}

TEST_F(PeekTest, CountsEveryFileAndUpdatesBothLabelsAfterEach) {
    files.addFile("/s/one.txt");
    files.addFile("/s/two.txt");
    peek("/s");
    EXPECT_EQ(state.objectsScanned, 2);
    EXPECT_EQ(view.objectsScannedLabel, "2 Objects scanned");
    EXPECT_EQ(view.adwareFoundLabel, "0 Spyware / Adware found");

    files.addFile("/more/b.exe");
    peek("/more");  // counters and findings grow across the targets of one scan
    EXPECT_EQ(view.objectsScannedLabel, "3 Objects scanned");
    EXPECT_EQ(view.adwareFoundLabel, "1 Spyware / Adware found");
}

TEST_F(PeekTest, RootMatchShowsTwoSeparatorsButKeepsTheRealPath) {
    files.addFile("/b.exe");
    peek("/");
    ASSERT_EQ(view.items.size(), 1u);
    EXPECT_EQ(view.items[0].text, "//b.exe > Bee");
    EXPECT_EQ(view.items[0].path, "/b.exe");
}

TEST_F(PeekTest, LongFolderPathsAreShortenedPast80Characters) {
    const std::string eighty = "/" + std::string(70, 'a') + "/" + std::string(8, 'b');
    const std::string eightyOne = eighty + "c";
    files.addFolder(eighty);
    files.addFolder(eightyOne);
    // Characters count, not bytes: 80 characters of two bytes are shown whole.
    std::string accented = "/";
    for (int i = 0; i < 79; ++i) accented += "é";
    files.addFolder(accented);
    peek(eighty);
    peek(eightyOne);
    peek(accented);
    EXPECT_EQ(view.folderLabels, (Texts{eighty, "/a.../bbbbbbbbc", accented}));

    // With one separator the short form is longer than the path.
    const std::string flat = "/" + std::string(85, 'x');
    files.addFolder(flat);
    peek(flat);
    EXPECT_EQ(view.folderLabels.back(), "/x.../" + std::string(85, 'x'));
}

TEST_F(PeekTest, UnreadableFolderIsSkippedAndNothingWalkedInItsPlace) {
    files.addFile("/s/a/b.exe");
    files.addFile("/s/locked/b.exe");
    files.makeUnreadable("/s/locked");
    files.addFile("/s/z/b.exe");
    peek("/s");
    EXPECT_EQ(view.itemTexts(), (Texts{"/s/a/b.exe > Bee", "/s/z/b.exe > Bee"}));
    EXPECT_EQ(view.folderLabels, (Texts{"/s", "/s/a", "/s/z"}));
}

TEST_F(PeekTest, QuarantineFolderFindingsAreDroppedButOtherFoldersAreNot) {
    files.addFile("/app/Quarantine/quarantined.exe");
    files.addFile("/app/Quarantine photos/quarantined.exe");
    walk.setExcludedFolder(files.folderId("/app/Quarantine"));
    peek("/app");
    EXPECT_EQ(view.itemTexts(), (Texts{"/app/Quarantine photos/quarantined.exe > Q"}));
    EXPECT_EQ(state.objectsScanned, 2);
}

TEST_F(PeekTest, StaysOnTheStartingFileSystemWhenAsked) {
    files.addFile("/b.exe");
    files.addFile("/proc/b.exe");
    files.setDevice("/proc", 2);
    walk.setStayOnFileSystem(true);
    peek("/");
    EXPECT_EQ(view.itemTexts(), (Texts{"//b.exe > Bee"}));
    walk.setStayOnFileSystem(false);
    peek("/");
    EXPECT_EQ(view.items.size(), 3u);
}

TEST_F(PeekTest, WithoutGetFilesOnlyFoldersAreVisited) {
    files.addFile("/s/b.exe");
    files.addFile("/s/sub/b.exe");
    peek("/s", false);
    EXPECT_EQ(view.folderLabels, (Texts{"/s", "/s/sub"}));
    EXPECT_TRUE(view.items.empty());
    EXPECT_EQ(state.objectsScanned, 0);
}

// A tree with files and subfolders at two levels.
void addSmallTree(test::FakeFileSystem& files) {
    files.addFile("/t/b.exe");
    files.addFile("/t/c.txt");
    files.addFile("/t/s1/b.exe");
    files.addFile("/t/s1/deep/b.exe");
    files.addFile("/t/s2/a.dll");
}

TEST_F(PeekTest, ServesTheEventLoopAtEveryCheckPoint) {
    addSmallTree(files);
    peek("/t");
    // Per folder: one on entry, two after the label, one per file, one per
    // subfolder taken, one per subfolder entered.
    const int t = 1 + 2 + 2 + 2 + 2, s1 = 1 + 2 + 1 + 1 + 1, deep = 1 + 2 + 1, s2 = 1 + 2 + 1;
    EXPECT_EQ(view.doEventsCount, t + s1 + deep + s2);
}

TEST_F(PeekTest, AbortAtAnyCheckPointStopsTheWholeWalk) {
    addSmallTree(files);
    peek("/t");
    const int total = view.doEventsCount;
    for (int abortAt = 1; abortAt <= total; ++abortAt) {
        test::RecordingScanView abortView;
        ScanState abortState;
        Walk abortWalk(files, definitions, index, abortView, abortState);
        int scannedAtAbort = -1;
        std::size_t labelsAtAbort = 0;
        abortView.onDoEvents = [&](int count) {
            if (count != abortAt) return;
            abortState.abortScan = true;
            scannedAtAbort = abortState.objectsScanned;
            labelsAtAbort = abortView.folderLabels.size();
        };
        abortWalk.Peek("/t", true);
        SCOPED_TRACE("abort at do-events " + std::to_string(abortAt));
        EXPECT_EQ(abortState.objectsScanned, scannedAtAbort)
            << "a file was examined after the abort";
        EXPECT_EQ(abortView.folderLabels.size(), labelsAtAbort)
            << "a folder was entered after the abort";
        // The label's two yields come in a row: at most one more after the click.
        EXPECT_LE(abortView.doEventsCount, abortAt + 1);

        // A later target of the same scan returns at its first check point.
        const int before = abortView.doEventsCount;
        abortWalk.Peek("/t", true);
        EXPECT_EQ(abortView.doEventsCount, before + 1);
        EXPECT_EQ(abortState.objectsScanned, scannedAtAbort);
    }
}

TEST_F(PeekTest, AbortDuringAComparisonKeepsThatFilesFindingsAndCount) {
    files.addFile("/s/dup.exe");
    files.addFile("/s/z.exe");
    view.onFoundItem = [&] { state.abortScan = true; };
    peek("/s");
    EXPECT_EQ(view.itemTexts(), (Texts{"/s/dup.exe > One", "/s/DUP.EXE > Two"}));
    EXPECT_EQ(state.objectsScanned, 1);
    EXPECT_EQ(view.objectsScannedLabel, "1 Objects scanned");
}

}  // namespace
}  // namespace tarnwk
