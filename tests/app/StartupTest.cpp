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
};

TEST_F(Startup, TheSplashLoadsEverythingAndClosesAfterTwoSeconds) {
    Application app(fake.program);
    app.start();
    EXPECT_TRUE(app.main.visible()) << "shown as soon as the definitions are loaded";
    EXPECT_EQ(app.splash.lblaction.caption(), "Loading Reference file...");
    EXPECT_EQ(app.splash.lblversion.caption(), "Version 1.1");
    EXPECT_EQ(fake.program.definitions.count(), 2u);
    EXPECT_EQ(fake.ui.trayTip, "Tarnwick");
    app.main.Hide();
    app.splash.Hide();
    app.splash.Show();  // activated again: nothing is loaded or shown twice
    EXPECT_FALSE(app.main.visible());
    fake.ui.advance(1999);
    EXPECT_TRUE(app.splash.loaded());
    fake.ui.advance(1);
    EXPECT_FALSE(app.splash.loaded());
}

TEST_F(Startup, OnlyANumericOneOfAutoscanStartsAFullScanOnTheScanTab) {
    fake.store(Setting::AUTOSHOW, "0");
    for (const char* value : {"2", "yes", "1.0"}) {
        fake.store(Setting::AUTOSCAN, value);
        fake.store(Setting::SCANCOUNT, "0");
        Application app(fake.program);
        app.main.optquickscan.setValue(true);
        app.start();
        EXPECT_FALSE(app.main.visible());
        fake.ui.advance(2000);
        const bool scanned = std::string(value) == "1.0";
        EXPECT_EQ(fake.setting(Setting::SCANCOUNT), scanned ? "1" : "0") << value;
        if (!scanned) continue;
        EXPECT_TRUE(app.main.optfullscan.value());
        EXPECT_EQ(app.main.SSTab1.tab(), frmmain::kScanTab);
        const auto& read = fake.files.foldersRead;
        EXPECT_NE(std::find(read.begin(), read.end(), "/"_path), read.end())
            << "the drives were walked";
    }
}

TEST_F(Startup, TheTimerWaitsUntilLoadingIsDone) {
    Application app(fake.program);
    app.tray.Load();
    app.splash.Load();
    fake.ui.advance(5000);  // the tick comes before the splash is even shown
    EXPECT_TRUE(app.splash.loaded());
    EXPECT_FALSE(app.main.loaded());
    app.splash.Show();
    EXPECT_TRUE(app.main.loaded());
    EXPECT_FALSE(app.splash.loaded()) << "the waiting tick ran once loading was done";
}

TEST_F(Startup, TheUpdateCheckComesFirstAndAMissingReferenceFileEndsTheProgram) {
    fake.files.removeFile("/opt/tarnwick/ref.dat"_path);
    for (const bool autoUpdate : {true, false}) {
        fake.store(Setting::AUTOUPDATE, autoUpdate ? "1" : "0");
        Application app(fake.program);
        std::vector<bool> splashAtCheck;
        app.tray.onStartupUpdateCheck = [&] { splashAtCheck.push_back(app.splash.loaded()); };
        EXPECT_THROW(app.start(), test::ProgramEnded);
        EXPECT_EQ(splashAtCheck, std::vector<bool>(autoUpdate, false)) << "first, when asked for";
        EXPECT_FALSE(app.main.visible());
    }
}

TEST_F(Startup, TheTrayMenuShowsAboutAndEndsTheProgram) {
    fake.store(Setting::AUTOSHOW, "0");
    Application app(fake.program);
    app.start();
    fake.ui.advance(2000);
    EXPECT_FALSE(app.main.visible());
    app.bringForward();  // as a second start asks
    EXPECT_TRUE(app.main.visible());
    app.main.Hide();
    fake.ui.menuAnswers = {0};  // "Show Tarnwick"
    fake.ui.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_TRUE(app.main.visible());
    const std::vector<std::string> menu = {"Show Tarnwick", "About", "Exit"};
    EXPECT_EQ(fake.ui.menus, std::vector<std::vector<std::string>>{menu});

    app.main.Hide();
    fake.ui.trayMessage(ui::TrayMessage::LeftDoubleClick);
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(fake.ui.menus.size(), 1u) << "a double-click opens no menu";

    app.main.Hide();
    fake.ui.menuAnswers = {1};  // "About"
    fake.ui.trayMessage(ui::TrayMessage::LeftButtonDown);
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(app.main.SSTab1.tab(), frmmain::kAboutTab);

    fake.ui.answers = {MessageResult::Cancel};
    fake.ui.menuAnswers = {2};  // "Exit"
    fake.ui.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_EQ(fake.ui.shown.back().buttons, platform::MessageButtons::OkCancel);
    EXPECT_TRUE(app.main.visible()) << "Cancel leaves the program as it was";
    fake.program.totalObjectsRemoved.add(3);
    fake.ui.answers = {MessageResult::Ok};
    EXPECT_THROW(app.tray.mnuexit_Click(), test::ProgramEnded);
    EXPECT_EQ(fake.setting(Setting::TOTALOBJECTSREMOVED), "3");
}

TEST_F(Startup, ASecondInstanceHandsOverAndTheFirstComesForward) {
    struct Second final : platform::SingleInstance {
        bool claim() override { return false; }
        bool activateRunning() override { return ++activations, true; }
        int activations = 0;
    } second;
    EXPECT_EQ(Main(fake.program, second), 0);
    EXPECT_EQ(second.activations, 1);
    // No window, tray icon, setting or folder of its own.
    EXPECT_TRUE(fake.ui.peersCreated.empty() && !fake.ui.trayHandler);
    EXPECT_TRUE(fake.settings.values.empty());
    EXPECT_FALSE(fake.files.folderExists("/opt/tarnwick/Quarantine"_path));
}

TEST_F(Startup, ClosingTheMainWindowHidesItOrWithoutATrayAsksToEnd) {
    Application app(fake.program);
    app.start();
    app.main.closeRequested();
    EXPECT_FALSE(app.main.visible());
    EXPECT_TRUE(fake.ui.shown.empty());

    test::FakeProgram bare;
    bare.files.addFile("/opt/tarnwick/ref.dat"_path, "Ver1\r\n");
    bare.ui.trayAvailable = false;
    Application alone(bare.program);
    alone.start();
    bare.ui.answers = {MessageResult::Cancel};
    alone.main.closeRequested();
    EXPECT_EQ(bare.ui.shown.back().text, "Do you wish to end the application?");
    EXPECT_TRUE(alone.main.visible()) << "never hidden where nothing could bring it back";
    bare.ui.answers = {MessageResult::Ok};
    EXPECT_THROW(alone.main.closeRequested(), test::ProgramEnded);
    EXPECT_EQ(bare.ui.shown.size(), 2u) << "asked once";
}

}  // namespace
}  // namespace tarnwk
