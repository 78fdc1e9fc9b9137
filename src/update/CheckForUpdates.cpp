#include "update/CheckForUpdates.h"

#include "common/AppIdentity.h"
#include "update/DefinitionsUpdater.h"
#include "update/frmprogress.h"

namespace tarnwk {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;

void DownloadDefinitions(Program& program, DefinitionsUpdater& updater) {
    frmprogress progress(program.ui);
    progress.Show();
    // Drawn before the transfer blocks the program.
    program.ui.doEvents();
    program.ui.setBusy(true);
    const bool updated = updater.downloadDefinitions();
    progress.Unload();
    if (updated)
        program.ui.messageBox(kDefinitionsUpdatedMessage, MessageButtons::Ok);
    else
        program.ui.messageBox(kDefinitionsNotRetrievedMessage, MessageButtons::Ok,
                              MessageIcon::Critical);
    program.ui.setBusy(false);
}

}  // namespace

std::string newerVersionQuestion() {
    return "A newer version of " + std::string(kAppTitle) +
           " is available!. Do you wish to get the download?";
}

std::string upToDateMessage() {
    return "Your version of " + std::string(kAppTitle) + " is up to date";
}

void CheckForUpdates(Program& program, int interactive) {
    if (!program.downloader) return;
    DefinitionsUpdater updater(program.os.files, *program.downloader, program.referenceFile(),
                               program.serverBase);
    const auto versions = updater.checkVersion();
    switch (versions.check) {
        case DefinitionsUpdater::Check::Unavailable:
            if (interactive == 1)
                program.ui.messageBox(kVersionFileNotFoundMessage, MessageButtons::Ok);
            return;
        case DefinitionsUpdater::Check::Newer:
            if (program.ui.messageBox(newerVersionQuestion(), MessageButtons::YesNo,
                                      MessageIcon::Information) == platform::MessageResult::Yes)
                DownloadDefinitions(program, updater);
            return;
        case DefinitionsUpdater::Check::UpToDate:
            program.ui.messageBox(upToDateMessage(), MessageButtons::Ok, MessageIcon::Information);
            return;
    }
}

}  // namespace tarnwk
