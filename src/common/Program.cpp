#include "common/Program.h"

#include "common/AppIdentity.h"

namespace tarnwk {

std::string Program::quarantineFolder() const {
    return inAppFolder(kQuarantineFolderName);
}
std::string Program::reportsFolder() const {
    return inAppFolder(kReportsFolderName);
}
std::string Program::savedReferenceFile() const {
    return inAppFolder(kReferenceFileName);
}

void Program::setDefinitions(DefinitionsList list) {
    definitions = std::move(list);
    definitionIndex = std::make_unique<DefinitionIndex>(definitions);
}

const DefinitionIndex& Program::index() {
    if (!definitionIndex) definitionIndex = std::make_unique<DefinitionIndex>(definitions);
    return *definitionIndex;
}

}  // namespace tarnwk
