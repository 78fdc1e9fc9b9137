// The scan log: its name from the clock, its content, its code page, and a
// log that cannot be written.
#include <gtest/gtest.h>

#include <ctime>

#include "platform/posix/PosixFileSystem.h"
#include "removal/ScanTestHarness.h"
#include "scan/ScanLog.h"
#include "support/TempFolder.h"

namespace tarnwk {
namespace {

constexpr const char* kReports = "/opt/tarnwick/Reports";

class ScanLog : public ::testing::Test {
protected:
    ScanLog() {
        h.fake.files.addFolder(kReports);
        h.fake.clock.day = {2026, 12, 5};
        h.fake.clock.seconds = 68134.25;
        h.fake.clock.date = "05/12/2026";
        h.fake.clock.time = "18:55:34";
    }
    std::vector<std::string> logs() { return h.fake.files.filesIn(kReports); }
    std::string content(const std::string& name) {
        return *h.fake.files.readFile(std::string(kReports) + "/" + name);
    }

    test::ScanTestHarness h;
};

TEST_F(ScanLog, NameIsDateThenSecondsWithTheUsersSeparator) {
    h.fake.clock.separator = ",";
    ASSERT_TRUE(WriteScanLog(h.program, ""));
    EXPECT_EQ(logs(), (std::vector<std::string>{"2026-12-568134,25.log"}));

    h.fake.clock.separator = ".";
    ASSERT_TRUE(WriteScanLog(h.program, ""));
    EXPECT_EQ(logs(), (std::vector<std::string>{"2026-12-568134,25.log", "2026-12-568134.25.log"}));
}

TEST_F(ScanLog, ShortMonthAndDayAndWholeSecondsRunTogether) {
    h.fake.clock.day = {2027, 1, 1};
    h.fake.clock.seconds = 7.0;
    h.fake.clock.separator = ",";
    ASSERT_TRUE(WriteScanLog(h.program, ""));
    EXPECT_EQ(logs(), (std::vector<std::string>{"2027-1-17.log"}));
}

TEST(LogSecondsText, SevenSignificantDigitsOfAFloatWithoutExponentOrTrailingZeros) {
    EXPECT_EQ(logSecondsText(68134.25, ","), "68134,25");
    EXPECT_EQ(logSecondsText(7.0, ","), "7");
    EXPECT_EQ(logSecondsText(0.0, ","), "0");
    EXPECT_EQ(logSecondsText(0.5, "."), "0.5");
    EXPECT_EQ(logSecondsText(12345.678, "."), "12345.68");
    EXPECT_EQ(logSecondsText(86399.99, "."), "86399.99");
    EXPECT_EQ(logSecondsText(1.0 / 3.0, "."), "0.3333333");
    EXPECT_EQ(logSecondsText(0.00001, "."), "0.00001");
    EXPECT_EQ(logSecondsText(45296.1, "."), "45296.1");
    // Rounded as a 32-bit float: 68134.123 is stored as 68134.125.
    EXPECT_EQ(logSecondsText(68134.123, "."), "68134.12");
    EXPECT_EQ(logSecondsText(120.0, "\xD9\xAB"), "120");
    EXPECT_EQ(logSecondsText(1.5, "\xD9\xAB"),
              "1\xD9\xAB"
              "5");
}

TEST_F(ScanLog, FindingsComeFirstThenTheRunsDateAndTime) {
    const std::string report = "\r\nAdware found >/home/u/b.exe\r\nAdware found >/srv/A.DLL";
    ASSERT_TRUE(WriteScanLog(h.program, report));
    ASSERT_EQ(logs().size(), 1u);
    EXPECT_EQ(content(logs()[0]),
              "\r\nAdware found >/home/u/b.exe\r\nAdware found >/srv/A.DLL\r\n"
              "Test Run : 05/12/2026 at 18:55:34\r\n\r\n");
}

TEST_F(ScanLog, AnEmptyReportSaysNothingWasFound) {
    ASSERT_TRUE(WriteScanLog(h.program, ""));
    EXPECT_EQ(content(logs()[0]),
              "NO Adware found...\r\n\r\nTest Run : 05/12/2026 at 18:55:34\r\n\r\n");
}

TEST_F(ScanLog, TextIsWrittenInTheWindowsCodePage) {
    h.fake.clock.time = "18:55:34 \xE2\x80\x94 Mittag";  // an em dash from the locale
    ASSERT_TRUE(WriteScanLog(h.program,
                             "\r\nAdware found >/home/zo\xC3\xAB/\xE2\x82\xAC/\xE6\x97\xA5.exe"));
    EXPECT_EQ(content(logs()[0]),
              "\r\nAdware found >/home/zo\xEB/\x80/?.exe\r\n"
              "Test Run : 05/12/2026 at 18:55:34 \x97 Mittag\r\n\r\n");
}

TEST_F(ScanLog, ALogThatCannotBeWrittenIsNotPassedOffAsWritten) {
    h.fake.files.readOnlyFolders.insert(kReports);
    EXPECT_FALSE(WriteScanLog(h.program, ""));
    EXPECT_TRUE(logs().empty());
}

TEST_F(ScanLog, TheReportsFolderIsNotCreated) {
    test::ScanTestHarness other;
    other.fake.clock.day = {2026, 12, 5};
    EXPECT_FALSE(WriteScanLog(other.program, ""));
    EXPECT_FALSE(other.fake.files.folderExists(kReports));
}

TEST_F(ScanLog, ALogOfTheSameNameIsReplaced) {
    ASSERT_TRUE(WriteScanLog(h.program, "\r\nAdware found >/a/b.exe"));
    ASSERT_TRUE(WriteScanLog(h.program, ""));
    ASSERT_EQ(logs().size(), 1u);
    EXPECT_EQ(content(logs()[0]).rfind("NO Adware found...", 0), 0u);
}

TEST(ScanLogOnDisk, TheFileHoldsExactlyTheBytesOfTheLog) {
    test::TempFolder tmp;
    tmp.makeFolder("app/Reports");
    posix::PosixFileSystem disk;
    test::ScanTestHarness h(&disk, tmp / "app");
    h.fake.clock.day = {2027, 1, 1};
    h.fake.clock.seconds = 7.0;
    ASSERT_TRUE(WriteScanLog(h.program, "\r\nAdware found >/x/\xC3\xA9vil.exe"));
    EXPECT_EQ(test::readWholeFile(tmp / "app/Reports/2027-1-17.log"),
              "\r\nAdware found >/x/\xE9vil.exe\r\nTest Run : 06/12/2026 at 21:30:00\r\n\r\n");
}

}  // namespace
}  // namespace tarnwk
