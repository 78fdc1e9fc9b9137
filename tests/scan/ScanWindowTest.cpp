// The scan window on its own: its state at load, and a closed window that a
// walk still winding down writes into.
#include <gtest/gtest.h>

#include "removal/ScanHarness.h"

namespace tarnwk {
namespace {

TEST(ScanWindow, LoadAbortExitAndWhatTheWalkWrites) {
    test::ScanHarness h;
    frmscan window(h.program);
    h.program.scan = {true, "old", 41};
    h.mainWindow.Hide();
    window.Show();
    EXPECT_FALSE(h.program.scan.abortScan);
    EXPECT_EQ(h.program.scan.objectsScanned, 0);
    EXPECT_FALSE(window.style().closeCommand) << "Exit is the only way out";
    window.showFolder("/home/user"_path);
    window.cmdabort.click();
    h.program.totalObjectsRemoved.add(7);
    window.cmdExit.click();
    EXPECT_FALSE(window.loaded());
    EXPECT_TRUE(h.mainWindow.visible());
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "7");

    window.showFolder("/late"_path);
    window.showObjectsScanned(3);
    window.showAdwareFound(1);
    window.addFoundItem({"/late/b.exe > Bee"_path, "/late/b.exe"_path, "b.exe", std::nullopt, {}});
    EXPECT_EQ(window.Label3.caption(), "/home/user"_path);
    EXPECT_EQ(window.lblObjectsscannedcount.caption(), "0 Objects scanned");
    EXPECT_EQ(window.lblAdwareFoundCount.caption(), "No Spyware / Adware found");
    EXPECT_EQ(window.foundItems().size() + window.lstadware.count(), 0u);
}

}  // namespace
}  // namespace tarnwk
