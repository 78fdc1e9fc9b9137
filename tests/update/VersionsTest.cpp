#include <gtest/gtest.h>

#include "update/Versions.h"

namespace tarnwk {
namespace {

TEST(Versions, PublishedIsTheFirstFieldOfTheFirstLine) {
    EXPECT_EQ(publishedVersion("2.01\r\n"), 2.01);
    EXPECT_EQ(publishedVersion("  2.01,extra\r\n3\r\n"), 2.01);
    EXPECT_EQ(publishedVersion("\"1.9\" trailing\n"), 1.9);
    EXPECT_EQ(publishedVersion("2"), 2.0);
    EXPECT_FALSE(publishedVersion(""));
    EXPECT_FALSE(publishedVersion("\r\n2.0"));
    EXPECT_FALSE(publishedVersion("<html><body>Not Found</body></html>"));
    EXPECT_EQ(publishedVersion("2,01"), 2.0);  // a comma ends the field
}

TEST(Versions, LocalIsTheFirstEightCharactersLessEveryVer) {
    EXPECT_EQ(localVersion("Ver2.005\r\nx.exe|X\r\n"), 2.005);
    EXPECT_EQ(localVersion("Ver1.001"), 1.001);
    EXPECT_EQ(localVersion("VerVer12\r\n"), 12.0);
    EXPECT_FALSE(localVersion("Ver2.0\r\n"));  // the line end is inside the eight characters
    EXPECT_FALSE(localVersion("Ver2"));        // shorter than eight characters
    EXPECT_FALSE(localVersion("ver2.005"));    // "Ver" is removed only as written
}

TEST(Versions, AValidReferenceFileStartsWithVerAndANumber) {
    EXPECT_TRUE(isValidReferenceFile("Ver2.010\r\nx.exe|X\r\n"));
    EXPECT_TRUE(isValidReferenceFile("Ver2.010"));
    EXPECT_FALSE(isValidReferenceFile(""));
    EXPECT_FALSE(isValidReferenceFile("<!DOCTYPE html><html>Error</html>"));
    EXPECT_FALSE(isValidReferenceFile("Version two\r\n"));
    EXPECT_FALSE(isValidReferenceFile("\r\nVer2.010\r\n"));
}

}  // namespace
}  // namespace tarnwk
