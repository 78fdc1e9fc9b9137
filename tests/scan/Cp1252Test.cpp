#include <gtest/gtest.h>

#include <algorithm>

#include "common/NameFolding.h"
#include "scan/Cp1252.h"

namespace tarnwk {
namespace {

TEST(Cp1252, DecodesEveryByteOfThePage) {
    EXPECT_EQ(decodeCp1252("plain.exe"), "plain.exe");
    EXPECT_EQ(decodeCp1252("\xC9vil.exe"), "\xC3\x89vil.exe");  // É
    EXPECT_EQ(decodeCp1252("\x80\x8A\x9A\x9F\xFF"), "€ŠšŸÿ");
    EXPECT_EQ(decodeCp1252("\x81\x8D"), "\xC2\x81\xC2\x8D");  // undefined bytes keep their number
    EXPECT_EQ(decodeCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(NameFolding, FoldsTheWholeRepertoireAndNothingElse) {
    EXPECT_EQ(foldName("GATOR.EXE"), "gator.exe");
    EXPECT_EQ(foldName("ÉCRAN_ÀÖØÞ.DLL"), "écran_àöøþ.dll");
    EXPECT_EQ(foldName("ŠŒŽŸ"), "šœžÿ");
    // Not letters, or already lower: unchanged.
    EXPECT_EQ(foldName("×÷ßÿ€"), "×÷ßÿ€");
    // Outside the repertoire: left alone rather than guessed at.
    EXPECT_EQ(foldName("ПРИВЕТ"), "ПРИВЕТ");
    // Invalid UTF-8 passes through without reading past the end.
    EXPECT_EQ(foldName("A\xC3"), "a\xC3");
    EXPECT_EQ(foldName("\xC3Z"), "\xC3z");
}

TEST(NameFolding, SortsByNameWithCaseIgnoredAndAFixedTieOrder) {
    std::vector<std::string> names = {"b.exe", "A.dll", "a.dll", "Éa", "ea", "C"};
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return nameLessIgnoringCase(a, b);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"A.dll", "a.dll", "b.exe", "C", "ea", "Éa"}));
}

}  // namespace
}  // namespace tarnwk
