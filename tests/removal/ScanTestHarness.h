// A running program for the scan window, the scan run and the quarantine
// move: fake services and toolkit, a stand-in main window, and a definitions
// list. The file system may be swapped for the real one.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "common/NameFolding.h"
#include "common/Program.h"
#include "common/SettingsKeys.h"
#include "platform/ui.h"
#include "scan/Peek.h"
#include "scan/frmscan.h"
#include "support/FakePlatform.h"
#include "support/FakeUi.h"

namespace tarnwk::test {

// Whether anything, a dangling link included, stands at `path`.
inline bool present(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

inline std::vector<std::string> scanDefinitions() {
    return {"Ver1.001",   "b.exe|Bee",     "bad.dll|Some.Adware|x", "Evil.exe|Evil",
            "noext|Bare", "quarantine me", "twin.ocx|Twin"};
}

struct ScanTestHarness {
    explicit ScanTestHarness(platform::FileSystem* files = nullptr,
                             std::string appFolder = "/opt/tarnwick",
                             platform::Processes* processes = nullptr)
        : os{files ? *files : fake.files,
             fake.settings,
             fake.startup,
             fake.messages,
             fake.clock,
             processes ? *processes : fake.processes,
             fake.shell},
          program(os, ui, std::move(appFolder), "http://www.tarnwick.example") {
        program.setDefinitions(DefinitionsList(scanDefinitions()));
        program.mainWindow = &mainWindow;
        mainWindow.Show();
    }

    std::string setting(Setting key) { return program.settings.text(key); }
    // Whether the run or a window wrote the key at all.
    bool stored(Setting key) {
        return fake.settings.values.contains(
            foldName("Tarnwick/SETTINGS/" + std::string(settingKey(key).key)));
    }

    FakePlatform fake;
    platform::Platform os;
    FakeUi backend;
    ui::Ui ui{backend};
    Program program;
    ui::Form mainWindow{ui, "frmmain", "Tarnwick 1.1", 7335, 6435};
};

// Leaves `window` as a finished scan of `folder` leaves it: shown, filled by
// the walk, Quarantine and Purge enabled.
inline void scanInto(frmscan& window, Program& program, platform::FileSystem& files,
                     const std::string& folder) {
    window.Show();
    Walk walk(files, program.definitions, *program.definitionIndex, window, program.scan);
    walk.setExcludedFolder(files.folderId(program.quarantineFolder()));
    walk.Peek(folder, true);
    window.cmdquarantine.setEnabled(true);
    window.cmddelete.setEnabled(true);
}

}  // namespace tarnwk::test
