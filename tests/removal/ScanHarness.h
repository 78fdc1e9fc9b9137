// A program for the scan window, the scan run and the quarantine move: the
// fake program with a stand-in main window and a definitions list.
#pragma once

#include <filesystem>

#include "scan/Peek.h"
#include "scan/frmscan.h"
#include "support/FakeProgram.h"

namespace tarnwk::test {

// Whether anything, a dangling link included, stands at `path`.
inline bool present(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

struct ScanHarness : FakeProgram {
    explicit ScanHarness(platform::FileSystem* realFiles = nullptr,
                         std::string appFolder = nativePath("/opt/tarnwick"),
                         platform::Processes* realProcesses = nullptr)
        : FakeProgram(realFiles, std::move(appFolder), realProcesses) {
        program.setDefinitions(
            DefinitionsList({"Ver1.001", "b.exe|Bee", "bad.dll|Some.Adware|x", "Evil.exe|Evil",
                             "noext|Bare", "quarantine me", "twin.ocx|Twin", "keep.twk|Keep"}));
        program.mainWindow = &mainWindow;
        mainWindow.Show();
    }

    // Leaves `window` as a finished scan of `folder` leaves it.
    void scanInto(frmscan& window, const std::string& folder) {
        window.Show();
        Walk walk(program.os.files, program.definitions, program.index(), window, program.scan);
        walk.setExcludedFolder(program.quarantineFolder());
        walk.setThreads(2);  // with read-ahead, as on any machine of more than one core
        walk.Peek(folder, true);
        window.showFinished();
    }

    ui::Form mainWindow{toolkit, "frmmain", "Tarnwick 1.1", 7335, 6435};
};

}  // namespace tarnwk::test
