#include "mainwindow/MainWindowFixture.h"

namespace tarnwk::test {
namespace {

class QuarantineTab : public MainWindowFixture {
protected:
    // Five quarantined files, listed and counted by a refresh.
    void startWithFiveFiles() {
        startUp();
        for (const char* name : {"e.exe", "B.dll", "a.exe", "d.ocx", "C.exe"})
            fake.files.addFile(path(name));
        main.SSTab1.selectTab(frmmain::kQuarantineTab);
    }
    static std::string path(const std::string& name) {
        return std::string(kQuarantine) + "/" + name;
    }
    using Names = std::vector<std::string>;
};

TEST_F(QuarantineTab, ListsTheFilesInNameOrderIgnoringCase) {
    startWithFiveFiles();
    fake.files.addFolder(path("subfolder"));
    main.SSTab1.selectTab(frmmain::kQuarantineTab);
    EXPECT_EQ(main.FileListQuarantine.items(),
              (Names{"a.exe", "B.dll", "C.exe", "d.ocx", "e.exe"}));
    EXPECT_EQ(main.lblqcnt.caption(), "5 Adware in Quarantine");
}

TEST_F(QuarantineTab, DeletingTwoOfFiveLeavesThreeAndTheCountWaitsForARefresh) {
    startWithFiveFiles();
    main.FileListQuarantine.setSelected(1, true);
    main.FileListQuarantine.setSelected(3, true);
    main.cmdPurgeSelected.click();
    EXPECT_EQ(fake.files.filesIn(kQuarantine), (Names{"C.exe", "a.exe", "e.exe"}));
    EXPECT_EQ(main.FileListQuarantine.items(), (Names{"a.exe", "C.exe", "e.exe"}));
    EXPECT_EQ(main.lblqcnt.caption(), "5 Adware in Quarantine");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "5");
    EXPECT_FALSE(fakeUi.busy);
    EXPECT_TRUE(fakeUi.shown.empty());

    main.refreshStatus();
    EXPECT_EQ(main.lblqcnt.caption(), "3 Adware in Quarantine");
    EXPECT_EQ(main.lblStatus_Quarintine.caption(), "3");
}

TEST_F(QuarantineTab, SelectAllThenDeleteEmptiesTheFolder) {
    startWithFiveFiles();
    main.cmdselectAll.click();
    EXPECT_EQ(main.FileListQuarantine.selectedCount(), 5u);
    main.cmdPurgeSelected.click();
    EXPECT_TRUE(fake.files.filesIn(kQuarantine).empty());
    EXPECT_EQ(main.FileListQuarantine.count(), 0u);
    // Deleting from quarantine never lowers the removed-objects counter.
    EXPECT_EQ(main.lblStatus_Removed.caption(), "0");
}

TEST_F(QuarantineTab, DeSelectAllAfterSelectAllDeletesNothing) {
    startWithFiveFiles();
    main.cmdselectAll.click();
    main.cmddeselect.click();
    EXPECT_EQ(main.FileListQuarantine.selectedCount(), 0u);
    main.cmdPurgeSelected.click();
    EXPECT_EQ(fake.files.filesIn(kQuarantine).size(), 5u);
    EXPECT_EQ(main.FileListQuarantine.count(), 5u);
}

TEST_F(QuarantineTab, AFileThatIsAlreadyGoneIsSkippedAndTheOthersDeleted) {
    startWithFiveFiles();
    main.cmdselectAll.click();
    fake.files.removeFile(path("B.dll"));
    main.cmdPurgeSelected.click();
    EXPECT_TRUE(fake.files.filesIn(kQuarantine).empty());
    EXPECT_TRUE(fakeUi.shown.empty());
}

TEST_F(QuarantineTab, FilesThatCannotBeDeletedStayListed) {
    startWithFiveFiles();
    fake.files.readOnlyFolders.insert(kQuarantine);
    main.FileListQuarantine.setSelected(0, true);
    main.FileListQuarantine.setSelected(4, true);
    main.cmdPurgeSelected.click();
    EXPECT_EQ(fake.files.filesIn(kQuarantine).size(), 5u);
    // Read again: every file is listed, none selected.
    EXPECT_EQ(main.FileListQuarantine.count(), 5u);
    EXPECT_EQ(main.FileListQuarantine.selectedCount(), 0u);
    EXPECT_FALSE(fakeUi.busy);
    EXPECT_TRUE(fakeUi.shown.empty());
}

TEST_F(QuarantineTab, AFileAddedByHandIsListedAtTheNextReading) {
    startWithFiveFiles();
    fake.files.addFile(path("manual.bin"));
    EXPECT_EQ(main.FileListQuarantine.count(), 5u);
    leaveAndComeBack();
    ASSERT_EQ(main.FileListQuarantine.count(), 6u);
    EXPECT_EQ(main.FileListQuarantine.item(5), "manual.bin");
    main.FileListQuarantine.setSelected(5, true);
    main.cmdPurgeSelected.click();
    EXPECT_FALSE(fake.files.exists(path("manual.bin")));
    EXPECT_EQ(main.FileListQuarantine.count(), 5u);
}

TEST_F(QuarantineTab, ButtonsOnAnEmptyListDoNothing) {
    startUp();
    main.cmdselectAll.click();
    main.cmddeselect.click();
    main.cmdPurgeSelected.click();
    EXPECT_EQ(main.FileListQuarantine.count(), 0u);
    EXPECT_TRUE(fake.files.folderExists(kQuarantine));
}

}  // namespace
}  // namespace tarnwk::test
