// The scan window on its own: its controls, its states, and what the walk
// writes into it.
#include <gtest/gtest.h>

#include <sstream>

#include "removal/ScanHarness.h"

namespace tarnwk {
namespace {

TEST(ScanWindow, DeclaresEveryControlWithItsPlaceAndText) {
    test::ScanHarness h;
    frmscan window(h.program);
    std::ostringstream declared;
    for (const ui::Control* control : window.controls()) {
        const ui::Twips& at = control->position();
        declared << control->name() << ' ' << at.left << ' ' << at.top << ' ' << at.width << ' '
                 << at.height << (control->font.bold ? " bold" : "")
                 << (control->container() ? " in " + control->container()->name() : "") << " "
                 << control->caption() << "\n";
    }
    EXPECT_EQ(declared.str(),
              "Frame1 120 240 7935 855 bold Currently Scanning\n"
              "Label3 120 360 7335 255 in Frame1 Label3\n"
              "Label1 360 1200 3015 255 bold Last Spyware / Adware found\n"
              "lstadware 120 1560 8055 930 \n"
              "lblAdwareFoundCount 480 2640 2415 255 No Spyware / Adware found\n"
              "lblObjectsscannedcount 480 3000 2175 255 0 Objects scanned\n"
              "cmddelete 3240 2520 1335 375 &Purge\n"
              "cmdabort 5160 2760 1335 375 &Abort\n"
              "cmdExit 5160 2760 1335 375 &Exit\n"
              "cmdquarantine 6600 2760 1335 375 &Quarantine\n");
    EXPECT_EQ(std::tuple(window.caption(), window.clientWidth(), window.clientHeight(),
                         window.style().closeCommand, window.lstadware.mode()),
              std::tuple("Scanning...", 8250, 3285, false, ui::SelectionMode::Simple));
}

TEST(ScanWindow, LoadAbortExitAndWhatTheWalkWrites) {
    test::ScanHarness h;
    frmscan window(h.program);
    h.program.scan = {true, "old", 41};
    h.mainWindow.Hide();
    window.Show();
    EXPECT_FALSE(h.program.scan.abortScan);
    EXPECT_EQ(h.program.scan.objectsScanned, 0);

    window.showFolder("/home/user"_path);
    window.showObjectsScanned(3);
    window.showAdwareFound(1);
    window.addFoundItem(
        {"/a > b/b.exe > Bee"_path, "/a > b/B.EXE"_path, "b.exe", platform::FileId{1, 9}, {}});
    EXPECT_EQ(window.Label3.caption(), "/home/user"_path);
    EXPECT_EQ(window.lblObjectsscannedcount.caption(), "3 Objects scanned");
    EXPECT_EQ(window.lblAdwareFoundCount.caption(), "1 Spyware / Adware found");
    EXPECT_EQ(window.lstadware.items(), std::vector<std::string>{"/a > b/b.exe > Bee"_path});
    EXPECT_EQ(window.foundItems().at(0).path, "/a > b/B.EXE"_path);
    EXPECT_EQ(window.foundItemCount(), 1u);

    window.cmdabort.click();
    h.program.totalObjectsRemoved.add(7);
    window.cmdExit.click();
    EXPECT_FALSE(window.loaded());
    EXPECT_TRUE(h.mainWindow.visible());
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "7");

    // A closed window is left alone by a walk still winding down.
    window.showFolder("/late"_path);
    window.addFoundItem({"/late/b.exe > Bee"_path, "/late/b.exe"_path, "b.exe", std::nullopt, {}});
    EXPECT_EQ(window.Label3.caption(), "/home/user"_path);
    EXPECT_EQ(window.foundItems().size(), 1u);
}

}  // namespace
}  // namespace tarnwk
