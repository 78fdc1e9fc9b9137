// The start-up sequence, the tray and the single-instance rule, on the fakes.
#include <gtest/gtest.h>

#include "app/Application.h"
#include "app/Main.h"
#include "support/FakeUi.h"

namespace tarnwk {
namespace {

using platform::MessageResult;

class FakeSingleInstance final : public platform::SingleInstance {
public:
    bool claim() override { return first; }
    bool activateRunning() override {
        ++activations;
        return true;
    }
    bool first = true;
    int activations = 0;
};

class Startup : public ::testing::Test {
protected:
    test::FakePlatform fake;
    test::FakeUi fakeUi;
    ui::Ui ui{fakeUi};
    platform::Platform os{fake.files, fake.settings,  fake.startup, fakeUi,
                          fake.clock, fake.processes, fake.shell};
    Program program{os, ui, "/opt/tarnwick", "http://server.test"};

    void SetUp() override {
        fake.files.addFile("/opt/tarnwick/ref.dat", "Ver1.001\r\nbad.exe|Bad\r\n");
        fake.files.addFolder("/home/user");
        fake.files.drives = {"/"};
    }
    void store(Setting setting, const char* value) { program.settings.save(setting, value); }
    std::string setting(Setting setting) { return program.settings.text(setting); }
};

TEST_F(Startup, DefaultsShowTheIdleMainWindowWhileTheSplashIsUp) {
    Application app(program);
    app.start();
    EXPECT_TRUE(app.splash.visible());
    EXPECT_TRUE(app.main.visible()) << "shown as soon as the definitions are loaded";
    EXPECT_EQ(app.splash.lblaction.caption(), "Loading Reference file...");
    EXPECT_EQ(app.splash.lblversion.caption(), "Version 1.1");
    EXPECT_EQ(program.definitions.count(), 2u);

    fakeUi.advance(1999);
    EXPECT_TRUE(app.splash.loaded());
    fakeUi.advance(1);
    EXPECT_FALSE(app.splash.loaded());
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(setting(Setting::SCANCOUNT), "0") << "no scan without AUTOSCAN";
}

TEST_F(Startup, WithoutAutoShowOnlyTheTrayIsLeft) {
    store(Setting::AUTOSHOW, "0");
    Application app(program);
    app.start();
    fakeUi.advance(2000);
    EXPECT_TRUE(app.main.loaded());
    EXPECT_FALSE(app.main.visible());
    EXPECT_EQ(fakeUi.trayTip, "Tarnwick");
    fakeUi.menuAnswers = {0};  // "Show Tarnwick"
    fakeUi.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_TRUE(app.main.visible());
}

TEST_F(Startup, AutoScanRunsAFullScanOnTheScanTabWhateverWasChosen) {
    store(Setting::AUTOSHOW, "0");
    store(Setting::AUTOSCAN, "1");
    Application app(program);
    app.main.optquickscan.setValue(true);
    app.start();
    EXPECT_EQ(setting(Setting::SCANCOUNT), "0") << "not before the splash closes";
    fakeUi.advance(2000);
    EXPECT_EQ(setting(Setting::SCANCOUNT), "1");
    EXPECT_TRUE(app.main.optfullscan.value());
    EXPECT_EQ(app.main.SSTab1.tab(), frmmain::kScanTab);
    EXPECT_NE(std::find(fake.files.foldersRead.begin(), fake.files.foldersRead.end(), "/"),
              fake.files.foldersRead.end())
        << "the drives were walked";
}

TEST_F(Startup, OnlyANumericOneStartsAScan) {
    for (const char* value : {"0", "2", "yes", "1.0"}) {
        store(Setting::AUTOSCAN, value);
        store(Setting::SCANCOUNT, "0");
        Application app(program);
        app.start();
        fakeUi.advance(2000);
        EXPECT_EQ(setting(Setting::SCANCOUNT), std::string(value) == "1.0" ? "1" : "0") << value;
        app.tray.Unload();
    }
}

TEST_F(Startup, TheTimerWaitsUntilLoadingIsDone) {
    Application app(program);
    app.tray.Load();
    app.splash.Load();
    fakeUi.advance(5000);  // the tick comes before the splash is even shown
    EXPECT_TRUE(app.splash.loaded());
    EXPECT_FALSE(app.main.loaded());
    app.splash.Show();
    EXPECT_TRUE(app.main.loaded());
    EXPECT_FALSE(app.splash.loaded()) << "the waiting tick ran once loading was done";
}

TEST_F(Startup, AMissingReferenceFileEndsTheProgramBeforeTheTimer) {
    fake.files.removeFile("/opt/tarnwick/ref.dat");
    Application app(program);
    EXPECT_THROW(app.start(), test::ProgramEnded);
    ASSERT_EQ(fakeUi.shown.size(), 1u);
    EXPECT_EQ(fakeUi.shown[0].icon, platform::MessageIcon::Critical);
    EXPECT_FALSE(app.main.visible());
}

TEST_F(Startup, StartupUpdateCheckComesBeforeTheSplash) {
    store(Setting::AUTOUPDATE, "1");
    Application app(program);
    bool splashLoadedAtCheck = true;
    app.tray.onStartupUpdateCheck = [&] { splashLoadedAtCheck = app.splash.loaded(); };
    app.start();
    EXPECT_FALSE(splashLoadedAtCheck);
}

TEST_F(Startup, TrayMenuOpensOnLeftPressAndRightReleaseInItsOrder) {
    Application app(program);
    app.start();
    fakeUi.trayMessage(ui::TrayMessage::LeftButtonDown);
    fakeUi.trayMessage(ui::TrayMessage::RightButtonUp);
    const std::vector<std::string> menu = {"Show Tarnwick", "About", "Exit"};
    EXPECT_EQ(fakeUi.menus, (std::vector<std::vector<std::string>>{menu, menu}));

    app.main.Hide();
    fakeUi.trayMessage(ui::TrayMessage::LeftDoubleClick);
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(fakeUi.menus.size(), 2u) << "a double-click opens no menu";

    app.main.SSTab1.setTab(frmmain::kSettingsTab);
    app.main.Hide();
    fakeUi.menuAnswers = {1};  // "About"
    fakeUi.trayMessage(ui::TrayMessage::RightButtonUp);
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(app.main.SSTab1.tab(), frmmain::kAboutTab);
}

TEST_F(Startup, ExitAsksThenStoresTheCounterAndEnds) {
    Application app(program);
    app.start();
    fakeUi.answers = {MessageResult::Cancel};
    app.tray.mnuexit_Click();
    EXPECT_EQ(fakeUi.shown.back().text, "Do you wish to end the application?");
    EXPECT_EQ(fakeUi.shown.back().buttons, platform::MessageButtons::OkCancel);
    EXPECT_TRUE(app.main.visible()) << "Cancel leaves the program as it was";

    program.totalObjectsRemoved.add(3);
    fakeUi.answers = {MessageResult::Ok};
    EXPECT_THROW(app.tray.mnuexit_Click(), test::ProgramEnded);
    EXPECT_EQ(setting(Setting::TOTALOBJECTSREMOVED), "3");
}

TEST_F(Startup, ASecondInstanceHandsOverAndTouchesNothing) {
    FakeSingleInstance instance;
    instance.first = false;
    EXPECT_EQ(Main(program, instance), 0);
    EXPECT_EQ(instance.activations, 1);
    EXPECT_TRUE(fakeUi.peersCreated.empty()) << "no window of its own";
    EXPECT_FALSE(fakeUi.trayHandler) << "no second tray icon";
    EXPECT_TRUE(fake.settings.values.empty());
    EXPECT_FALSE(fake.files.folderExists("/opt/tarnwick/Quarantine"));
}

TEST_F(Startup, TheRunningInstanceComesForwardOnRequest) {
    store(Setting::AUTOSHOW, "0");
    Application app(program);
    app.start();
    fakeUi.advance(2000);
    ASSERT_FALSE(app.main.visible());
    app.bringForward();
    EXPECT_TRUE(app.main.visible());
    EXPECT_EQ(app.main.caption(), "Tarnwick 1.1");
}

TEST_F(Startup, WithoutANotificationAreaClosingTheMainWindowAsksToEnd) {
    fakeUi.trayAvailable = false;
    Application app(program);
    app.start();
    fakeUi.answers = {MessageResult::Cancel};
    app.main.closeRequested();
    EXPECT_EQ(fakeUi.shown.back().text, "Do you wish to end the application?");
    EXPECT_TRUE(app.main.visible()) << "never hidden where nothing could bring it back";

    fakeUi.answers = {MessageResult::Ok};
    EXPECT_THROW(app.main.closeRequested(), test::ProgramEnded);
    EXPECT_EQ(fakeUi.shown.size(), 2u) << "asked once";
}

TEST_F(Startup, WithANotificationAreaClosingOnlyHides) {
    Application app(program);
    app.start();
    app.main.closeRequested();
    EXPECT_FALSE(app.main.visible());
    EXPECT_TRUE(fakeUi.shown.empty());
}

}  // namespace
}  // namespace tarnwk
