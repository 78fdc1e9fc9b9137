// The settings file's text: any file reads without harm, and a write reads
// back byte for byte and leaves every other key's value alone.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "platform/PathText.h"
#include "platform/posix/IniText.h"

using namespace tarnwk::posix;

namespace {

// Roughly the sections and keys the file names, each key with the section
// above it; the store's own reading decides what they really are.
std::vector<std::pair<std::string, std::string>> namesIn(std::string_view file) {
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    while (!file.empty() && names.size() < 32) {
        const auto end = std::min(file.size(), file.find_first_of("\r\n"));
        const auto line = tarnwk::trimBlanks(file.substr(0, end));
        file.remove_prefix(std::min(file.size(), end + 1));
        if (line.starts_with('['))
            section = tarnwk::trimBlanks(line.substr(1, line.find(']') - 1));
        else if (line.find('=') != std::string_view::npos)
            names.emplace_back(section, tarnwk::trimBlanks(line.substr(0, line.find('='))));
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString();
    const std::string key = input.ConsumeRandomLengthString();
    const std::string value = input.ConsumeRandomLengthString();
    const std::string file = input.ConsumeRemainingBytesAsString();

    iniValue(file, section, key);  // any names, any file
    if (!isIniName(section) || !isIniName(key)) return 0;
    const std::string written = withIniValue(file, section, key, value);
    FUZZ_CHECK(iniValue(written, section, key) == value);
    FUZZ_CHECK(withIniValue(written, section, key, value) == written);
    for (const auto& [otherSection, otherKey] : namesIn(file)) {
        if (iniNamesEqual(otherSection, section) && iniNamesEqual(otherKey, key)) continue;
        FUZZ_CHECK(iniValue(written, otherSection, otherKey) ==
                   iniValue(file, otherSection, otherKey));
    }
    return 0;
}
