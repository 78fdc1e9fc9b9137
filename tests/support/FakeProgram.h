// One running program over the fake services and toolkit. The file system
// and the process table may be swapped for real ones.
#pragma once

#include <string>

#include "common/Program.h"
#include "support/FakePlatform.h"
#include "support/FakeUi.h"

namespace tarnwk::test {

struct FakeProgram {
    explicit FakeProgram(platform::FileSystem* realFiles = nullptr,
                         std::string appFolder = nativePath("/opt/tarnwick"),
                         platform::Processes* realProcesses = nullptr,
                         std::string serverBase = "http://server.test")
        : os(realFiles ? *realFiles : files, settings, startup, ui, clock,
             realProcesses ? *realProcesses : processes, shell),
          program(os, toolkit, std::move(appFolder), std::move(serverBase)) {}

    std::string setting(Setting key) { return program.settings.text(key); }
    void store(Setting key, std::string_view value) { (void)program.settings.save(key, value); }

    FakeFileSystem files;
    FakeSettingsStore settings;
    FakeLoginStartup startup;
    FakeClock clock;
    FakeProcesses processes;
    FakeShell shell;
    FakeUi ui;
    platform::Platform os;
    tarnwk::ui::Ui toolkit{ui};
    Program program;
};

}  // namespace tarnwk::test
