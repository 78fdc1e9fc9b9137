// The version readers: any text gives a finite number or none.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "common/SettingsKeys.h"
#include "scan/ReferenceFile.h"
#include "update/Versions.h"

using namespace tarnwk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto version :
         {publishedVersion(text), referenceFileVersion(text), parseNumber(text)})
        FUZZ_CHECK(!version || std::isfinite(*version));
    return 0;
}
