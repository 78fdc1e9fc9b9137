// A reference file read as loadReferenceFile reads it, and the index the walk
// looks names up in, held to a plain map of the same definitions.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "common/DefinitionIndex.h"
#include "common/NameFolding.h"
#include "scan/Cp1252.h"
#include "scan/ReferenceFile.h"

using namespace tarnwk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = decodeCp1252(bytes);
    // Every byte of the page has a character of its own.
    FUZZ_CHECK(encodeCp1252(text) == bytes);

    const DefinitionsList definitions(readReferenceFields(text));
    const DefinitionIndex index(definitions);
    std::map<std::string, std::vector<std::uint32_t>> expected;
    for (std::uint32_t i = 1; i < definitions.count(); ++i) {
        const auto parts = splitDefinition(definitions.entry(i));
        if (parts && !parts->namePart.empty()) expected[foldName(parts->namePart)].push_back(i);
    }
    // Every definition's name, and names from the input that mostly are none.
    std::vector<std::string> names = {"", "gator.exe", "\xC3\xA9vil.exe"};
    for (const std::string& entry : definitions.entries()) names.push_back(foldName(entry));
    for (const auto& [name, entries] : expected) names.push_back(name);
    for (const std::string& name : names)
        FUZZ_CHECK(std::ranges::equal(index.find(name), expected[name]));
    return 0;
}
