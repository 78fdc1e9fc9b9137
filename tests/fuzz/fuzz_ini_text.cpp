// The settings file's text: any file reads without harm, and a write reads
// back byte for byte and leaves every other key's value alone.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "platform/PathText.h"
#include "platform/posix/IniText.h"

using namespace tarnwk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString();
    const std::string key = input.ConsumeRandomLengthString();
    const std::string value = input.ConsumeRandomLengthString();
    const std::string file = input.ConsumeRemainingBytesAsString();

    posix::iniValue(file, section, key);  // any names, any file
    if (!posix::isIniName(section) || !posix::isIniName(key)) return 0;
    const std::string written = posix::withIniValue(file, section, key, value);
    FUZZ_CHECK(posix::iniValue(written, section, key) == value);
    FUZZ_CHECK(posix::withIniValue(written, section, key, value) == written);
    // Roughly the keys the file names, each with the section above it; the
    // store's own reading decides what they really are.
    int names = 0;
    for (std::string_view rest = file, otherSection; !rest.empty() && names < 32;) {
        const auto end = std::min(rest.size(), rest.find_first_of("\r\n"));
        const auto line = trimBlanks(rest.substr(0, end));
        rest.remove_prefix(std::min(rest.size(), end + 1));
        const auto equals = line.find('=');
        if (line.starts_with('[')) otherSection = trimBlanks(line.substr(1, line.find(']') - 1));
        if (line.starts_with('[') || equals == line.npos) continue;
        const auto otherKey = trimBlanks(line.substr(0, equals));
        ++names;
        if (!posix::iniNamesEqual(otherSection, section) || !posix::iniNamesEqual(otherKey, key))
            FUZZ_CHECK(posix::iniValue(written, otherSection, otherKey) ==
                       posix::iniValue(file, otherSection, otherKey));
    }
    return 0;
}
