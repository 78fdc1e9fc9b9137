#include "common/Program.h"

#include "common/AppIdentity.h"

namespace tarnwk {

std::string Program::quarantineFolder() const {
    return inAppFolder(kQuarantineFolderName);
}
std::string Program::reportsFolder() const {
    return inAppFolder(kReportsFolderName);
}
std::string definitionsInUse(platform::FileSystem& files, const std::string& saved,
                             const std::string& bundled) {
    if (bundled.empty() || files.fileLength(saved).status != platform::LengthStatus::NotFound)
        return saved;
    return bundled;
}

std::string Program::referenceFile() const {
    return definitionsInUse(os.files, savedReferenceFile(), bundledReferenceFile);
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
