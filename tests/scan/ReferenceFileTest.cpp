#include <gtest/gtest.h>

#include "common/DefinitionIndex.h"
#include "common/NameFolding.h"
#include "scan/ReferenceFile.h"
#include "support/FakePlatform.h"

namespace tarnwk {
namespace {

using Fields = std::vector<std::string>;

TEST(ReferenceFields, FollowTheCommaDelimitedRules) {
    EXPECT_EQ(readReferenceFields("Ver1.001\r\ngator.exe|Gator\r\n"),
              (Fields{"Ver1.001", "gator.exe|Gator"}));
    // An unquoted comma splits a line; quotes keep it and are dropped.
    EXPECT_EQ(readReferenceFields("a.exe|Label, more\r\n"), (Fields{"a.exe|Label", "more"}));
    EXPECT_EQ(readReferenceFields("\"a.exe|Label, more\"\r\n"), (Fields{"a.exe|Label, more"}));
    // Whatever follows the closing quote up to the next comma is dropped.
    EXPECT_EQ(readReferenceFields("\"a|b\" junk,c|d\r\n"), (Fields{"a|b", "c|d"}));
    // Two bars: the first one splits.
    EXPECT_EQ(readReferenceFields("x.dll|Lab|el"), (Fields{"x.dll|Lab|el"}));
}

TEST(ReferenceFields, BlanksTabsLineEndsAndEmptyFields) {
    // LF, CR and CR LF all end lines; the last line needs no line end.
    EXPECT_EQ(readReferenceFields("a\nb\rc\r\nd"), (Fields{"a", "b", "c", "d"}));
    // Blank and blank-only lines yield nothing.
    EXPECT_EQ(readReferenceFields("a\r\n\r\n  \t \r\n\nb\r\n"), (Fields{"a", "b"}));
    // Blanks and tabs around a field are dropped; inside it they stay.
    EXPECT_EQ(readReferenceFields(" \ta b.exe |My label \t,\t c\r\n"),
              (Fields{"a b.exe |My label", "c"}));
    // Inside quotes blanks stay.
    EXPECT_EQ(readReferenceFields("  \" a.exe|x \"  \r\n"), (Fields{" a.exe|x "}));
    // Empty fields between commas and after a last comma.
    EXPECT_EQ(readReferenceFields("a,,b,\r\n"), (Fields{"a", "", "b", ""}));
    // An unclosed quote ends with its line.
    EXPECT_EQ(readReferenceFields("\"a,b\r\nc|d\r\n"), (Fields{"a,b", "c|d"}));
}

TEST(DefinitionIndex, KeepsDefinitionsOrderAndSkipsWhatNeverMatches) {
    const DefinitionsList list(Fields{"Ver|1.0|x", "b.exe|Bee", "noBar.exe", "|Empty",
                                      "B.EXE|Second", "a.dll|Ay", "Ver|1.0|x"});
    const DefinitionIndex index(list);
    const auto bee = index.find("b.exe");
    EXPECT_EQ(std::vector<std::uint32_t>(bee.begin(), bee.end()),
              (std::vector<std::uint32_t>{1, 4}));
    EXPECT_TRUE(index.find("nobar.exe").empty());
    EXPECT_TRUE(index.find("").empty());
    // The header is never a definition, even with a bar; a later copy is.
    const auto ver = index.find("ver");
    EXPECT_EQ(std::vector<std::uint32_t>(ver.begin(), ver.end()), (std::vector<std::uint32_t>{6}));
}

class LoadReferenceFile : public ::testing::Test {
protected:
    test::FakePlatform fake;
    const std::string path = "/opt/tarnwick/ref.dat";

    void expectStop() {
        try {
            loadReferenceFile(fake.files, fake.messages, path);
            FAIL() << "the program went on";
        } catch (const test::ProgramEnded&) {
        }
        ASSERT_FALSE(fake.messages.shown.empty());
        const auto& last = fake.messages.shown.back();
        EXPECT_EQ(
            last.text,
            "Reference file not found cannot launch application. Contact provider for help\r\n"
            "Application will now terminate");
        EXPECT_EQ(last.buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(last.icon, platform::MessageIcon::Critical);
    }
};

TEST_F(LoadReferenceFile, ReadsWindows1252IntoTheList) {
    fake.files.addFile(path, "Ver1.001\r\n\xC9vil.exe|\xC9vil\r\n");
    const DefinitionsList list = loadReferenceFile(fake.files, fake.messages, path);
    EXPECT_EQ(list.entries(), (Fields{"Ver1.001", "Évil.exe|Évil"}));
    EXPECT_EQ(list.header(), "Ver1.001");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(LoadReferenceFile, HeaderOnlyIsAListOfOne) {
    fake.files.addFile(path, "Ver1.001\r\n");
    EXPECT_EQ(loadReferenceFile(fake.files, fake.messages, path).count(), 1u);
}

TEST_F(LoadReferenceFile, HasNoLimitOnEntries) {
    std::string text = "Ver1.001\r\n";
    for (int i = 0; i < 40000; ++i) text += "f" + std::to_string(i) + ".exe|L\r\n";
    fake.files.addFile(path, text);
    EXPECT_EQ(loadReferenceFile(fake.files, fake.messages, path).count(), 40001u);
}

TEST_F(LoadReferenceFile, MissingFileStops) {
    expectStop();
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(LoadReferenceFile, EmptyFileStops) {
    fake.files.addFile(path, "");
    expectStop();
}

TEST_F(LoadReferenceFile, FileThatCannotBeReadStops) {
    fake.files.addFile(path, "Ver1.001\r\n");
    fake.files.lengthErrors[path] = "Permission denied";
    expectStop();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, "Permission denied");
    EXPECT_EQ(fake.messages.shown[0].buttons, platform::MessageButtons::Ok);
}

}  // namespace
}  // namespace tarnwk
