// The scan window on its own: its controls, its fresh state after loading,
// Abort, Exit, and what the walk writes into it.
#include <gtest/gtest.h>

#include "removal/ScanTestHarness.h"
#include "scan/frmscan.h"

namespace tarnwk {
namespace {

struct Expected {
    const char* name;
    ui::ControlKind kind;
    ui::Twips position;
    const char* caption;
};

class ScanWindow : public ::testing::Test {
protected:
    test::ScanTestHarness h;
    frmscan window{h.program};

    // The four buttons as visible/enabled pairs: Abort, Exit, Quarantine, Purge.
    std::string buttonStates() const {
        std::string states;
        for (const ui::Control* button :
             {&window.cmdabort, &window.cmdExit, &window.cmdquarantine, &window.cmddelete}) {
            states += button->visible() ? 'V' : '-';
            states += button->enabled() ? 'E' : '-';
            states += ' ';
        }
        states.pop_back();
        return states;
    }
};

TEST_F(ScanWindow, DeclaresEveryControlWithItsPlaceAndText) {
    using K = ui::ControlKind;
    const std::vector<Expected> expected{
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
    ASSERT_EQ(window.controls().size(), expected.size());
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const ui::Control* control = window.control(e.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->kind(), e.kind);
        EXPECT_EQ(control->position().left, e.position.left);
        EXPECT_EQ(control->position().top, e.position.top);
        EXPECT_EQ(control->position().width, e.position.width);
        EXPECT_EQ(control->position().height, e.position.height);
        EXPECT_EQ(control->caption(), e.caption);
        // Only the label of the folder being searched sits in the frame.
        EXPECT_EQ(control->container(), e.name == std::string("Label3") ? &window.Frame1 : nullptr);
        const bool bold = e.name == std::string("Frame1") || e.name == std::string("Label1");
        EXPECT_EQ(control->font.bold, bold);
    }
    EXPECT_EQ(window.lstadware.mode(), ui::SelectionMode::Simple);
}

TEST_F(ScanWindow, HasNoCloseCommandNoMinimizeNoMaximizeAndTheScanningCaption) {
    EXPECT_EQ(window.name(), "frmscan");
    EXPECT_EQ(window.caption(), "Scanning...");
    EXPECT_EQ(window.clientWidth(), 8250);
    EXPECT_EQ(window.clientHeight(), 3285);
    EXPECT_FALSE(window.style().closeCommand);
    EXPECT_FALSE(window.style().minimizeButton);
    EXPECT_FALSE(window.style().maximizeButton);
    EXPECT_TRUE(window.style().centred);
}

TEST_F(ScanWindow, LoadingClearsTheAbortFlagAndCounterAndOffersOnlyAbort) {
    h.program.scan.abortScan = true;
    h.program.scan.objectsScanned = 41;
    window.Load();
    EXPECT_FALSE(h.program.scan.abortScan);
    EXPECT_EQ(h.program.scan.objectsScanned, 0);
    EXPECT_EQ(buttonStates(), "VE -- V- V-");
    // Disabled buttons do nothing when clicked.
    window.lstadware.addItem("x");
    window.lstadware.setSelected(0, true);
    window.cmdquarantine.click();
    window.cmddelete.click();
    EXPECT_EQ(window.lstadware.count(), 1u);
    EXPECT_TRUE(h.backend.shown.empty());
}

TEST_F(ScanWindow, AbortSetsTheFlagAndSwapsAbortForExitAtOnce) {
    window.Load();
    window.cmdabort.click();
    EXPECT_TRUE(h.program.scan.abortScan);
    EXPECT_EQ(buttonStates(), "-- VE V- V-");
    // Exit and Abort share one place and are never shown together.
    EXPECT_EQ(window.cmdExit.position().left, window.cmdabort.position().left);
}

TEST_F(ScanWindow, ExitClosesTheWindowStoresTheTotalAndBringsTheMainWindowBack) {
    h.mainWindow.Hide();
    window.Show();
    ASSERT_FALSE(h.stored(Setting::TOTALOBJECTSREMOVED));
    window.cmdabort.click();
    window.cmdExit.click();
    EXPECT_FALSE(window.loaded());
    EXPECT_FALSE(window.visible());
    EXPECT_TRUE(h.mainWindow.visible());
    EXPECT_EQ(h.ui.activeForm(), &h.mainWindow);
    // Stored even though nothing was moved.
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "0");
}

TEST_F(ScanWindow, EveryClosingStoresTheRunningTotalAndNoneIsRefused) {
    window.Show();
    h.program.totalObjectsRemoved.add(7);
    EXPECT_TRUE(window.Unload());
    EXPECT_EQ(h.setting(Setting::TOTALOBJECTSREMOVED), "7");
}

TEST_F(ScanWindow, WalkWritesReachTheLabelsAndKeepEachEntrysRealPath) {
    window.Load();
    window.showFolder("/home/user");
    window.showObjectsScanned(3);
    window.showAdwareFound(1);
    window.addFoundItem({"/a > b/b.exe > Bee", "/a > b/B.EXE", "b.exe", platform::FileId{1, 9}});
    window.addFoundItem({"/c/b.exe > Bee", "/c/b.exe", "b.exe", platform::FileId{1, 10}});
    EXPECT_EQ(window.Label3.caption(), "/home/user");
    EXPECT_EQ(window.lblObjectsscannedcount.caption(), "3 Objects scanned");
    EXPECT_EQ(window.lblAdwareFoundCount.caption(), "1 Spyware / Adware found");
    EXPECT_EQ(window.lstadware.items(),
              (std::vector<std::string>{"/a > b/b.exe > Bee", "/c/b.exe > Bee"}));
    EXPECT_EQ(window.foundItemCount(), 2u);
    ASSERT_EQ(window.foundItems().size(), 2u);
    EXPECT_EQ(window.foundItems()[0].path, "/a > b/B.EXE");
    EXPECT_FALSE(window.lstadware.selected(1)) << "new entries are unmarked";

    window.clearFoundItems();
    EXPECT_EQ(window.lstadware.count(), 0u);
    EXPECT_TRUE(window.foundItems().empty());
}

TEST_F(ScanWindow, AClosedWindowIsLeftAloneByTheWalk) {
    window.Show();
    window.Unload();
    window.showFolder("/late");
    window.addFoundItem({"/late/b.exe > Bee", "/late/b.exe", "b.exe", std::nullopt});
    EXPECT_EQ(window.Label3.caption(), "Label3");
    EXPECT_EQ(window.lstadware.count(), 0u);
    EXPECT_TRUE(window.foundItems().empty());
    EXPECT_FALSE(window.loaded());
}

TEST_F(ScanWindow, DoEventsServesTheToolkit) {
    const int before = h.backend.doEventsCount;
    window.doEvents();
    EXPECT_EQ(h.backend.doEventsCount, before + 1);
}

}  // namespace
}  // namespace tarnwk
