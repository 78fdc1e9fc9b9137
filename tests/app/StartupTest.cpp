// The start-up sequence, the tray and the single-instance rule, on the fakes.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Application.h"
#include "app/Main.h"
#include "support/FakeProgram.h"

namespace tarnwk {
namespace {

using platform::MessageResult;

class Startup : public ::testing::Test {
protected:
    Startup() {
        fake.files.addFile("/opt/tarnwick/ref.dat"_path, "Ver1.001\r\nbad.exe|Bad\r\n");
        fake.files.addFolder("/home/user"_path);
        fake.files.drives = {"/"_path};
    }
    test::FakeProgram fake;
    Application app{fake.program};
};

TEST_F(Startup, TheSplashLoadsEverythingAndClosesAfterTwoSeconds) {
    app.start();
    EXPECT_TRUE(app.main.visible()) << "shown as soon as the definitions are loaded";
    EXPECT_EQ(app.splash.lblaction.caption() + "|" + app.splash.lblversion.caption(),
              "Loading Reference file...|Version 1.1");
    EXPECT_EQ(fake.program.definitions.count(), 2u);
    app.main.Hide();
    app.splash.Hide();
    app.splash.Show();  // activated again: nothing is loaded or shown twice
    EXPECT_FALSE(app.main.visible());
    fake.ui.advance(1999);
    EXPECT_TRUE(app.splash.loaded());
    fake.ui.advance(1);
    EXPECT_FALSE(app.splash.loaded());

    // A tick before the splash is even shown waits until loading is done.
    Application late(fake.program);
    late.tray.Load();
    late.splash.Load();
    fake.ui.advance(5000);
    EXPECT_TRUE(late.splash.loaded() && !late.main.loaded());
    late.splash.Show();
    EXPECT_TRUE(late.main.loaded() && !late.splash.loaded());
}

// Whether AUTOSCAN is on is the settings' rule, tested with them.
TEST_F(Startup, AutoscanStartsAFullScanOnTheScanTabWhenTheSplashCloses) {
    fake.store(Setting::AUTOSHOW, "0");
    fake.store(Setting::AUTOSCAN, "1");
    app.main.optquickscan.setValue(true);
    app.start();
    fake.ui.advance(2000);
    EXPECT_EQ(fake.setting(Setting::SCANCOUNT), "1");
    EXPECT_EQ(std::pair(app.main.optfullscan.value(), app.main.SSTab1.tab()),
              std::pair(true, frmmain::kScanTab));
    EXPECT_NE(std::ranges::find(fake.files.foldersRead, "/"_path), fake.files.foldersRead.end());
}

TEST_F(Startup, TheUpdateCheckComesFirstAndAMissingReferenceFileEndsTheProgram) {
    fake.files.removeFile("/opt/tarnwick/ref.dat"_path);
    fake.store(Setting::AUTOUPDATE, "1");
    bool splashAtCheck = true;
    app.tray.onStartupUpdateCheck = [&] { splashAtCheck = app.splash.loaded(); };
    EXPECT_THROW(app.start(), test::ProgramEnded);
    EXPECT_FALSE(splashAtCheck || app.main.visible());
}

TEST_F(Startup, TheTrayMenuShowsAboutAndEndsTheProgram) {
    fake.store(Setting::AUTOSHOW, "0");
    app.start();
    fake.ui.advance(2000);
    EXPECT_FALSE(app.main.visible());
    app.bringForward();         // as a second start asks
    app.main.closeRequested();  // with a tray icon closing only hides
    EXPECT_TRUE(fake.ui.shown.empty());
    // Either click opens the menu ("Show Tarnwick", "About"); a double-click
    // shows the window without one.
    const std::tuple<ui::TrayMessage, int, std::size_t, int> clicks[] = {
        {ui::TrayMessage::RightButtonUp, 0, 1, frmmain::kStatusTab},
        {ui::TrayMessage::LeftDoubleClick, 1, 1, frmmain::kStatusTab},
        {ui::TrayMessage::LeftButtonDown, 1, 2, frmmain::kAboutTab}};
    for (const auto& [message, choice, menus, tab] : clicks) {
        EXPECT_FALSE(app.main.visible());
        fake.ui.menuAnswers = {choice};
        fake.ui.trayMessage(message);
        EXPECT_TRUE(app.main.visible());
        EXPECT_EQ(std::pair(fake.ui.menus.size(), app.main.SSTab1.tab()), std::pair(menus, tab));
        app.main.Hide();
    }
    EXPECT_EQ(fake.ui.menus[0], (std::vector<std::string>{"Show Tarnwick", "About", "Exit"}));

    fake.ui.answers = {MessageResult::Cancel};
    fake.ui.menuAnswers = {2};  // "Exit"
    fake.ui.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_EQ(fake.ui.shown.back().buttons, platform::MessageButtons::OkCancel);
    EXPECT_TRUE(app.tray.loaded()) << "Cancel leaves the program as it was";
    fake.program.totalObjectsRemoved.add(3);
    fake.ui.answers = {MessageResult::Ok};
    EXPECT_THROW(app.tray.mnuexit_Click(), test::ProgramEnded);
    EXPECT_EQ(fake.setting(Setting::TOTALOBJECTSREMOVED), "3");
}

TEST_F(Startup, ASecondInstanceHandsOverAndTouchesNothing) {
    struct Second final : platform::SingleInstance {
        bool claim() override { return false; }
        bool activateRunning() override { return ++activations, true; }
        int activations = 0;
    } second;
    EXPECT_EQ(Main(fake.program, second), 0);
    EXPECT_EQ(second.activations, 1);
    // No window, tray icon, setting or folder of its own.
    EXPECT_TRUE(fake.ui.peersCreated.empty() && !fake.ui.trayHandler &&
                fake.settings.values.empty());
    EXPECT_FALSE(fake.files.folderExists("/opt/tarnwick/Quarantine"_path));
}

TEST_F(Startup, WithoutATrayClosingTheMainWindowAsksToEnd) {
    fake.ui.trayAvailable = false;
    app.start();
    fake.ui.answers = {MessageResult::Cancel};
    app.main.closeRequested();
    EXPECT_TRUE(app.main.visible()) << "never hidden where nothing could bring it back";
    fake.ui.answers = {MessageResult::Ok};
    EXPECT_THROW(app.main.closeRequested(), test::ProgramEnded);
    EXPECT_EQ(fake.ui.shown.size(), 2u) << "asked once each time";
    EXPECT_EQ(fake.ui.shown[0].text, "Do you wish to end the application?");
}

}  // namespace
}  // namespace tarnwk
