// The scan window on its own: its controls, its states, and what the walk
// writes into it.
#include <gtest/gtest.h>

#include "removal/ScanHarness.h"

namespace tarnwk {
namespace {

TEST(ScanWindow, DeclaresEveryControlWithItsPlaceAndText) {
    test::ScanHarness h;
    frmscan window(h.program);
    using K = ui::ControlKind;
    const std::tuple<const char*, K, ui::Twips, const char*> expected[] = {
        {"Frame1", K::Frame, {120, 240, 7935, 855}, "Currently Scanning"},
        {"Label3", K::Label, {120, 360, 7335, 255}, "Label3"},
        {"Label1", K::Label, {360, 1200, 3015, 255}, "Last Spyware / Adware found"},
        {"lstadware", K::ListBox, {120, 1560, 8055, 930}, ""},
        {"lblAdwareFoundCount", K::Label, {480, 2640, 2415, 255}, "No Spyware / Adware found"},
        {"lblObjectsscannedcount", K::Label, {480, 3000, 2175, 255}, "0 Objects scanned"},
        {"cmddelete", K::Button, {3240, 2520, 1335, 375}, "&Purge"},
        {"cmdabort", K::Button, {5160, 2760, 1335, 375}, "&Abort"},
        {"cmdExit", K::Button, {5160, 2760, 1335, 375}, "&Exit"},
        {"cmdquarantine", K::Button, {6600, 2760, 1335, 375}, "&Quarantine"},
    };
    ASSERT_EQ(window.controls().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const auto& [name, kind, at, caption] = expected[i];
        const ui::Control& control = *window.controls()[i];
        EXPECT_EQ(control.name(), name);
        EXPECT_EQ(control.kind(), kind) << name;
        const ui::Twips& p = control.position();
        EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height),
                  std::tie(at.left, at.top, at.width, at.height))
            << name;
        EXPECT_EQ(control.caption(), caption);
        EXPECT_EQ(control.container(), &control == &window.Label3 ? &window.Frame1 : nullptr);
        EXPECT_EQ(control.font.bold, &control == &window.Frame1 || &control == &window.Label1);
    }
    EXPECT_EQ(window.lstadware.mode(), ui::SelectionMode::Simple);
    EXPECT_EQ(window.caption(), "Scanning...");
    EXPECT_EQ(std::pair(window.clientWidth(), window.clientHeight()), std::pair(8250, 3285));
    EXPECT_FALSE(window.style().closeCommand || window.style().minimizeButton ||
                 window.style().maximizeButton);
}

TEST(ScanWindow, LoadAbortExitAndWhatTheWalkWrites) {
    test::ScanHarness h;
    frmscan window(h.program);
    h.program.scan = {true, "old", 41};
    h.mainWindow.Hide();
    window.Show();
    EXPECT_EQ(h.program.scan.abortScan, false);
    EXPECT_EQ(h.program.scan.objectsScanned, 0);
    EXPECT_EQ(test::buttonStates(window), "VE -- V- V-");

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
    // Disabled buttons do nothing.
    window.lstadware.setSelected(0, true);
    window.cmdquarantine.click();
    window.cmddelete.click();
    EXPECT_TRUE(h.ui.shown.empty());

    window.cmdabort.click();
    EXPECT_TRUE(h.program.scan.abortScan);
    EXPECT_EQ(test::buttonStates(window), "-- VE V- V-");
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
