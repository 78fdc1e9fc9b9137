// The settings file's text: any file reads without harm, and a write reads
// back byte for byte and leaves every other key's value alone.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "platform/posix/IniText.h"

using namespace tarnwk::posix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString();
    const std::string key = input.ConsumeRandomLengthString();
    const std::string value = input.ConsumeRandomLengthString();
    const std::string otherSection = input.ConsumeRandomLengthString();
    const std::string otherKey = input.ConsumeRandomLengthString();
    const std::string file = input.ConsumeRemainingBytesAsString();

    iniValue(file, section, key);  // any names, any file
    if (!isIniName(section) || !isIniName(key)) return 0;
    const std::string written = withIniValue(file, section, key, value);
    FUZZ_CHECK(iniValue(written, section, key) == value);
    FUZZ_CHECK(withIniValue(written, section, key, value) == written);
    if (!iniNamesEqual(otherSection, section) || !iniNamesEqual(otherKey, key))
        FUZZ_CHECK(iniValue(written, otherSection, otherKey) ==
                   iniValue(file, otherSection, otherKey));
    return 0;
}
