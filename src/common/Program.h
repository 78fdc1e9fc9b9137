#pragma once

#include <memory>
#include <string>

#include "common/DefinitionIndex.h"
#include "common/DefinitionsList.h"
#include "common/RemovedObjectsCounter.h"
#include "common/ScanState.h"
#include "common/SettingsKeys.h"
#include "platform/platform.h"
#include "platform/ui.h"

namespace tarnwk {

// The state one running program shares between its windows: the services,
// the definitions list, the walk's abort flag and report text, and the
// removed-objects counter.
struct Program {
    Program(platform::Platform& os, ui::Ui& ui, std::string appFolder, std::string serverBase)
        : os(os),
          ui(ui),
          appFolder(std::move(appFolder)),
          serverBase(std::move(serverBase)),
          settings(os.settings) {}

    platform::Platform& os;
    ui::Ui& ui;
    // The folder of the program's own files (see platform::ProgramFolders),
    // without a trailing separator.
    const std::string appFolder;
    // The maker's web server, without a trailing "/".
    const std::string serverBase;
    Settings settings;

    // Loaded once at start-up; a new reference file takes effect at the next start.
    DefinitionsList definitions;
    std::unique_ptr<DefinitionIndex> definitionIndex;
    // `abortScan`, `scanReport` and the count of files examined.
    ScanState scan;
    RemovedObjectsCounter totalObjectsRemoved;

    // The main window, shown again when a scan window closes.
    ui::Form* mainWindow = nullptr;
    // Fetches published definitions; null where no network is wanted.
    platform::Downloader* downloader = nullptr;
    // The definitions that came with the program; empty: those in appFolder.
    std::string bundledReferenceFile;

    std::string inAppFolder(std::string_view name) const { return joinPath(appFolder, name); }
    std::string quarantineFolder() const;
    std::string reportsFolder() const;
    // Where downloaded definitions go.
    std::string savedReferenceFile() const;

    // Replaces the definitions list and its index.
    void setDefinitions(DefinitionsList list);
    // The index of the definitions list, built when first needed.
    const DefinitionIndex& index();
};

}  // namespace tarnwk
