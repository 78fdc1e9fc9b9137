// The walk over the fake file system (order, findings, labels, counters, every
// check point) and over real folders (dot-files, links, pipes, permissions).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/posix/PosixFileSystem.h"
#include "scan/FolderLabel.h"
#include "scan/Peek.h"
#include "support/FakePlatform.h"
#include "support/RecordingScanView.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

const DefinitionsList kDefinitions{Texts{"Ver1.001", "b.exe|Bee", "A.DLL|Ay", "dup.exe|One",
                                         "DUP.EXE|Two", "Évil.exe|Évil > worse", "empty.exe|"}};

class WalkTest : public ::testing::Test {
protected:
    void peek(platform::FileSystem& on, const std::string& location, bool getFiles = true) {
        Walk walk(on, kDefinitions, index, view, state);
        walk.setExcludedFolder(excluded);
        walk.setStayOnFileSystem(stayOnFileSystem);
        walk.Peek(location, getFiles);
    }
    void peek(const std::string& location, bool getFiles = true) {
        peek(files, location, getFiles);
    }

    test::FakeFileSystem files;
    DefinitionIndex index{kDefinitions};
    test::RecordingScanView view;
    ScanState state;
    std::optional<platform::FileId> excluded;
    bool stayOnFileSystem = false;
};

TEST_F(WalkTest, DepthFirstFilesBeforeSubfoldersInNameOrderWithEveryMatch) {
    for (const char* path : {"/t/Zeta/b.exe", "/t/alpha/sub/b.exe", "/t/alpha/b.exe", "/t/b.exe",
                             "/t/Beta/B.EXE.bak", "/t/alpha/a.dll", "/t/Dup.exe", "/t/xb.exe",
                             "/t/ÉVIL.EXE", "/t/empty.exe", "/t/Ver1.001", "/t/notes.txt"})
        files.addFile(path);
    peek("/t/");
    EXPECT_EQ(view.itemTexts(),
              (Texts{"/t/b.exe > Bee", "/t/dup.exe > One", "/t/DUP.EXE > Two", "/t/empty.exe > ",
                     "/t/Évil.exe > Évil > worse", "/t/alpha/A.DLL > Ay", "/t/alpha/b.exe > Bee",
                     "/t/alpha/sub/b.exe > Bee", "/t/Zeta/b.exe > Bee"}));
    EXPECT_EQ(view.folderLabels, (Texts{"/t", "/t/alpha", "/t/alpha/sub", "/t/Beta", "/t/Zeta"}));
    // The entry keeps the real file; the report names the definition, no label.
    EXPECT_EQ(view.items[5].path, "/t/alpha/a.dll");
    EXPECT_EQ(view.items[5].name, "A.DLL");
    EXPECT_EQ(view.items[5].fileId, files.fileId("/t/alpha/a.dll"));
    EXPECT_EQ(state.scanReport.substr(0, 50),
              "\r\nAdware found >/t/b.exe\r\nAdware found >/t/dup.exe");
    EXPECT_EQ(state.scanReport.find("worse"), std::string::npos);
    EXPECT_EQ(state.objectsScanned, 12);
    EXPECT_EQ(view.objectsScannedLabel, "12 Objects scanned");
    EXPECT_EQ(view.adwareFoundLabel, "9 Spyware / Adware found");
}

TEST_F(WalkTest, SkipsWhatItMayNotReadReportOrCross) {
    files.addFile("/b.exe");
    files.addFile("/s/locked/b.exe");
    files.makeUnreadable("/s/locked");
    files.addFile("/s/app/Quarantine/b.exe");
    files.addFile("/s/app/Quarantine photos/b.exe");
    files.setDevice("/mnt", 2);
    files.addFile("/mnt/b.exe");
    files.addLink("/s/alias", "/mnt");
    excluded = files.folderId("/s/app/Quarantine");
    stayOnFileSystem = true;
    peek("/");
    // A root finding shows two separators but keeps the real path.
    EXPECT_EQ(view.itemTexts(), (Texts{"//b.exe > Bee", "/s/app/Quarantine photos/b.exe > Bee"}));
    EXPECT_EQ(view.items[0].path, "/b.exe");
    EXPECT_EQ(state.objectsScanned, 3) << "quarantined files count but are not reported";
    EXPECT_EQ(view.folderLabels,
              (Texts{"/", "/s", "/s/app", "/s/app/Quarantine", "/s/app/Quarantine photos"}));

    stayOnFileSystem = false;
    peek("/", false);  // folders only: the other device too, no files
    EXPECT_EQ(view.folderLabels.back(), "/s/app/Quarantine photos");
    EXPECT_EQ(view.folderLabels[view.folderLabels.size() - 5], "/mnt");
    EXPECT_EQ(state.objectsScanned, 3);
}

TEST(FolderLabel, ShortensPathsPast80Characters) {
    const std::string eighty = "/" + std::string(70, 'a') + "/" + std::string(8, 'b');
    std::string accented = "/";  // 80 characters of two bytes are shown whole
    for (int i = 0; i < 79; ++i) accented += "é";
    const std::pair<std::string, std::string> cases[] = {
        {eighty, eighty},
        {eighty + "c", "/a.../bbbbbbbbc"},
        {accented, accented},
        {accented + "é/x", "/é.../x"},
        {"/" + std::string(85, 'x'), "/x.../" + std::string(85, 'x')},
    };
    for (const auto& [path, label] : cases) EXPECT_EQ(folderLabel(path, '/'), label);
}

// Per folder: one yield on entry, two after the label, one per file, one per
// subfolder taken, one per subfolder entered.
TEST_F(WalkTest, ServesEventsAtEveryCheckPointAndAnAbortAtAnyStopsTheWalk) {
    for (const char* path : {"/t/b.exe", "/t/c.txt", "/t/s1/b.exe", "/t/s1/deep/b.exe", "/t/s2/x"})
        files.addFile(path);
    peek("/t");
    const int total = view.doEventsCount;
    EXPECT_EQ(total, (1 + 2 + 2 + 2 + 2) + (1 + 2 + 1 + 1 + 1) + (1 + 2 + 1) + (1 + 2 + 1));
    for (int abortAt = 1; abortAt <= total; ++abortAt) {
        SCOPED_TRACE("abort at do-events " + std::to_string(abortAt));
        test::RecordingScanView abortView;
        ScanState abortState;
        Walk walk(files, kDefinitions, index, abortView, abortState);
        int scannedAtAbort = -1;
        std::size_t labelsAtAbort = 0;
        abortView.onDoEvents = [&](int count) {
            if (count != abortAt) return;
            abortState.abortScan = true;
            scannedAtAbort = abortState.objectsScanned;
            labelsAtAbort = abortView.folderLabels.size();
        };
        walk.Peek("/t", true);
        EXPECT_EQ(abortState.objectsScanned, scannedAtAbort);
        EXPECT_EQ(abortView.folderLabels.size(), labelsAtAbort);
        EXPECT_LE(abortView.doEventsCount, abortAt + 1);  // the label's two yields
        // A later target of the same scan returns at its first check point.
        const int before = abortView.doEventsCount;
        walk.Peek("/t", true);
        EXPECT_EQ(abortView.doEventsCount, before + 1);
        EXPECT_EQ(abortState.objectsScanned, scannedAtAbort);
    }
}

TEST_F(WalkTest, AnAbortDuringAComparisonKeepsThatFilesFindingsAndCount) {
    files.addFile("/s/dup.exe");
    files.addFile("/s/z.exe");
    view.onFoundItem = [&] { state.abortScan = true; };
    peek("/s");
    EXPECT_EQ(view.itemTexts(), (Texts{"/s/dup.exe > One", "/s/DUP.EXE > Two"}));
    EXPECT_EQ(view.objectsScannedLabel, "1 Objects scanned");
}

TEST_F(WalkTest, OnDiskDotFilesLinksAndPipesAreNotExamined) {
    test::TempFolder tmp;
    posix::PosixFileSystem disk;
    for (const char* name : {".b.exe", ".config/b.exe", ".config/.b.exe", "real/ÉVIL.EXE"})
        tmp.writeFile(name);
    fs::create_directory_symlink(tmp.path(), tmp / "real/loop");
    fs::create_directory_symlink(tmp / "real", tmp / "alias");
    fs::create_symlink(tmp / "real/ÉVIL.EXE", tmp / "b.exe");
    ASSERT_EQ(mkfifo((tmp / "dup.exe").c_str(), 0600), 0);
    peek(disk, tmp.path() + "/");
    EXPECT_EQ(view.itemTexts(),
              (Texts{tmp / ".config/b.exe > Bee", tmp / "real/Évil.exe > Évil > worse"}));
    EXPECT_EQ(view.items[1].path, tmp / "real/ÉVIL.EXE");
    EXPECT_EQ(state.objectsScanned, 2);

    // A starting folder given as a link is walked, as the user named it.
    peek(disk, tmp / "alias");
    EXPECT_EQ(view.items.back().path, tmp / "alias/ÉVIL.EXE");
}

TEST_F(WalkTest, OnDiskAFolderThatCannotBeListedIsSkipped) {
    test::TempFolder tmp;
    tmp.writeFile("locked/b.exe");
    tmp.writeFile("open/b.exe");
    EXPECT_TRUE(test::asUnprivilegedUser(tmp.path(), [&] {
        ASSERT_EQ(chmod((tmp / "locked").c_str(), 0), 0);
        posix::PosixFileSystem disk;
        peek(disk, tmp.path());
        EXPECT_EQ(view.itemTexts(), (Texts{tmp / "open/b.exe > Bee"}));
    }));
}

}  // namespace
}  // namespace tarnwk
