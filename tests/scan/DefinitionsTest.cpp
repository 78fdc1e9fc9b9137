// Reading the definitions: the reference file's fields, its code page, name
// folding, and the start-up stop.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/NameFolding.h"
#include "scan/Cp1252.h"
#include "scan/ReferenceFile.h"
#include "support/FakeProgram.h"

namespace tarnwk {
namespace {

using Texts = std::vector<std::string>;

TEST(ReferenceFields, FollowTheCommaDelimitedRules) {
    // After a closing quote the rest of the field is dropped; quotes run across
    // line ends and, never closed, to the end.
    const std::pair<std::string_view, Texts> cases[] = {
        {"Ver1.001\r\ngator.exe|Gator\r\n", {"Ver1.001", "gator.exe|Gator"}},
        {"a.exe|Label, more\r\n", {"a.exe|Label", "more"}},
        {"\"a.exe|Label, more\"\r\n", {"a.exe|Label, more"}},
        {"\"a|b\" junk,c|d\r\n", {"a|b", "c|d"}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"a\r\n\r\n  \t \r\n\nb\r\n", {"a", "b"}},
        {"a,,b,\r\n", {"a", "", "b", ""}},
        {" \ta b.exe |My label \t,\t c\r\n", {"a b.exe |My label", "c"}},
        {"  \" a.exe|x \"  \r\n", {" a.exe|x "}},
        {"\"\",x\r\n", {"", "x"}},
        {"\"a\r\nb\" x\r\nc\r\n", {"a\r\nb", "c"}},
        {"\"a,b\r\nc|d\r\n", {"a,b\r\nc|d\r\n"}}};
    for (const auto& [text, fields] : cases) EXPECT_EQ(readReferenceFields(text), fields) << text;
}

TEST(Cp1252, DecodesAndEncodesThePage) {
    std::string page;
    for (int byte = 0; byte < 256; ++byte) page += static_cast<char>(byte);
    EXPECT_EQ(encodeCp1252(decodeCp1252(page)), page);
    EXPECT_EQ(decodeCp1252("\xC9vil \x80\x8A\x9A\x9F\xFF \x81"), "Évil €ŠšŸÿ \xC2\x81");
    const std::pair<std::string_view, std::string_view> encoded[] = {
        {"\xE2\x80\x9C\x61\xE2\x80\x9D \xC5\x92", "\x93\x61\x94 \x8C"},  // \x61 is "a"
        {"\xE6\x97\xA5!", "?!"},                                         // outside the page
        {"\xF0\x9F\x98\x80", "?"},  // four bytes, one character
        {"\xC2\x80", "?"},          // a C1 control the page maps elsewhere
        {"a\xC3", "a?"},            // cut short
        {"\xC0\xAF", "??"},         // overlong
        {"\xED\xA0\x80", "???"},    // a surrogate
        {"\x80z", "?z"},            // a lone continuation byte
    };
    for (const auto& [utf8, bytes] : encoded) EXPECT_EQ(encodeCp1252(utf8), bytes) << utf8;
}

TEST(NameFolding, FoldsTheWholeRepertoireAndNothingElse) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"GATOR.EXE", "gator.exe"}, {"ÉCRAN_ÀÖØÞ.DLL", "écran_àöøþ.dll"},
        {"ŠŒŽŸ", "šœžÿ"},           {"×÷ßÿ€@[`{", "×÷ßÿ€@[`{"},
        {"ПРИВЕТ", "ПРИВЕТ"},       {"A\xC3", "a\xC3"},
        {"\xC3Z", "\xC3z"}};
    for (const auto& [name, folded] : cases) EXPECT_EQ(foldName(name), folded) << name;

    Texts names = {"b.exe", "A.dll", "a.dll", "Éa", "ea", "C"};
    std::sort(names.begin(), names.end(), nameLessIgnoringCase);
    EXPECT_EQ(names, (Texts{"A.dll", "a.dll", "b.exe", "C", "ea", "Éa"}));
}

TEST(LoadReferenceFile, ReadsWindows1252WithoutLimitAndStopsWhenItCannot) {
    test::FakeProgram fake;
    const std::string path = "/opt/tarnwick/ref.dat"_path;
    std::string many = "Ver1.001\r\n\xC9vil.exe|\xC9vil\r\n";
    for (int i = 0; i < 40000; ++i) many += "f" + std::to_string(i) + ".exe|L\r\n";
    fake.files.addFile(path, many);
    const DefinitionsList list = loadReferenceFile(fake.files, fake.ui, path);
    EXPECT_EQ(list.count(), 40002u);
    EXPECT_EQ(list.entry(1), "Évil.exe|Évil");

    // Empty or unreadable: the stop.
    for (const auto& [content, error] : {std::pair{"", ""}, {"Ver1\r\n", "Permission denied"}}) {
        test::FakeProgram other;
        other.files.addFile(path, content);
        if (*error) other.files.lengthErrors[path] = error;
        try {
            loadReferenceFile(other.files, other.ui, path);
            ADD_FAILURE() << "the program went on: " << content;
        } catch (const test::ProgramEnded& ended) {
            EXPECT_EQ(ended.exitCode, kReferenceFileMissingExitCode);
        }
        EXPECT_EQ(other.ui.shown.back().text, kReferenceFileMissingMessage);
        EXPECT_EQ(other.ui.shown.back().icon, platform::MessageIcon::Critical);
    }
}

}  // namespace
}  // namespace tarnwk
