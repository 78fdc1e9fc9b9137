#include "removal/ProcessSweep.h"

#include <memory>

#include "common/DefinitionIndex.h"
#include "common/NameFolding.h"

namespace tarnwk {
bool KillProcess(platform::Processes& processes, std::int64_t id) {
    if (id == processes.ownId()) return false;
    return processes.terminate(id);
}

void KillMatchingProcesses(Program& program) {
    platform::Processes& processes = program.os.processes;
    // The walk's index holds exactly the entries a program may match: the
    // header and entries without "|" are not in it.
    const DefinitionIndex* index = &program.index();

    const std::int64_t self = processes.ownId();
    for (const platform::ProcessInfo& process : processes.list()) {
        if (process.id == self || !process.programPath) continue;
        const std::string name = foldName(fileName(*process.programPath));
        if (name.empty()) continue;
        // One announcement and one termination per matching definition.
        const std::size_t matches = index->find(name).size();
        for (std::size_t i = 0; i < matches; ++i) {
            program.ui.messageBox("same", platform::MessageButtons::Ok,
                                  platform::MessageIcon::None);
            KillProcess(processes, process.id);
        }
    }
}

}  // namespace tarnwk
