#include "update/CheckForUpdates.h"

#include "common/AppIdentity.h"
#include "scan/ReferenceFile.h"
#include "update/DefinitionsUpdater.h"
#include "update/frmprogress.h"

namespace tarnwk {
namespace {

using platform::MessageButtons;
using platform::MessageIcon;

void DownloadDefinitions(Program& program, DefinitionsUpdater& updater,
                         std::optional<double> local) {
    frmprogress progress(program.ui);
    progress.Show();
    // Drawn before the transfer blocks the program.
    program.ui.doEvents();
    program.ui.setBusy(true);
    const auto download = updater.downloadDefinitions(local);
    progress.Unload();
    switch (download.outcome) {
        case DefinitionsUpdater::Outcome::Installed:
            program.ui.messageBox(kDefinitionsUpdatedMessage, MessageButtons::Ok);
            break;
        case DefinitionsUpdater::Outcome::NotSaved:
            // A fault of this machine, not of the server.
            program.ui.messageBox(kDefinitionsNotSavedMessage, MessageButtons::Ok,
                                  MessageIcon::Critical);
            break;
        default:
            program.ui.messageBox(kDefinitionsNotRetrievedMessage, MessageButtons::Ok,
                                  MessageIcon::Critical);
            break;
    }
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
    DefinitionsUpdater updater(program.os.files, *program.downloader, definitionsInUse(program),
                               program.savedReferenceFile(), program.serverBase);
    const auto versions = updater.checkVersion();
    switch (versions.check) {
        case DefinitionsUpdater::Check::PublishedUnavailable:
            if (interactive == 1)
                program.ui.messageBox(kVersionFileNotFoundMessage, MessageButtons::Ok);
            return;
        case DefinitionsUpdater::Check::Newer:
        case DefinitionsUpdater::Check::LocalUnreadable: {
            // Without a version of its own, any published file is newer.
            const std::string question =
                versions.local ? newerVersionQuestion() : std::string(kLocalUnreadableQuestion);
            if (program.ui.messageBox(question, MessageButtons::YesNo, MessageIcon::Information) ==
                platform::MessageResult::Yes)
                DownloadDefinitions(program, updater, versions.local);
            return;
        }
        case DefinitionsUpdater::Check::UpToDate:
            program.ui.messageBox(upToDateMessage(), MessageButtons::Ok, MessageIcon::Information);
            return;
    }
}

}  // namespace tarnwk
