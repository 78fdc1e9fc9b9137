#pragma once

#include <gtest/gtest.h>

#include <string>

#include "common/Program.h"
#include "mainwindow/frmmain.h"
#include "support/FakePlatform.h"
#include "support/FakeUi.h"

namespace tarnwk::test {

// One program on the fake platform with its main window, in a folder that
// holds only a reference file.
class MainWindowFixture : public ::testing::Test {
protected:
    static constexpr const char* kAppFolder = "/opt/tarnwick";
    static constexpr const char* kQuarantine = "/opt/tarnwick/Quarantine";
    static constexpr const char* kReports = "/opt/tarnwick/Reports";
    // A header and two definitions.
    static constexpr const char* kReferenceText = "Ver1.007\r\ngator.exe|Gator\r\nspy.dll|Spy\r\n";

    MainWindowFixture() {
        fake.files.addFile(std::string(kAppFolder) + "/ref.dat", kReferenceText);
    }

    // What the start-up sequence does with the main window: load it, read the
    // preferences and the definitions, show it.
    void startUp() {
        main.Load();
        main.loadUserPrefs();
        main.loadReferenceFile();
        main.Show();
    }

    // The user goes to another window of the program and comes back.
    void leaveAndComeBack() {
        main.Hide();
        main.Show();
    }

    std::string stored(const std::string& key) {
        return fake.settings.getSetting("Tarnwick", "SETTINGS", key, "(absent)");
    }

    FakePlatform fake;
    FakeUi fakeUi;
    ui::Ui ui{fakeUi};
    platform::Platform services = fake.platform();
    Program program{services, ui, kAppFolder, "http://server.test"};
    frmmain main{program};
};

}  // namespace tarnwk::test
