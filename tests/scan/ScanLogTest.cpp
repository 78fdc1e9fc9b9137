// The scan log: its name from one reading of the clock, its content and code
// page, and a log that cannot be written.
#include "scan/ScanLog.h"

#include <gtest/gtest.h>

#include "support/FakeProgram.h"

namespace tarnwk {
namespace {

TEST(LogSecondsText, SevenSignificantDigitsOfAFloatWithoutExponentOrTrailingZeros) {
    // 68134.123 as a 32-bit float is 68134.125.
    const std::tuple<double, const char*, const char*> cases[] = {
        {68134.25, ",", "68134,25"},  {7.0, ",", "7"},           {0.0, ",", "0"},
        {12345.678, ".", "12345.68"}, {0.00001, ".", "0.00001"}, {68134.123, ".", "68134.12"},
        {1.5, "\u066B", "1\u066B5"}};
    for (const auto& [seconds, separator, text] : cases)
        EXPECT_EQ(logSecondsText(seconds, separator), text) << seconds;
}

TEST(ScanLog, NamedAfterTheDayAndSecondsWithFindingsThenTheRunInTheWindowsCodePage) {
    test::FakeProgram fake;
    const std::string reports = "/opt/tarnwick/Reports"_path;
    EXPECT_FALSE(WriteScanLog(fake.program, "")) << "the Reports folder is not created";
    fake.files.addFolder(reports);
    fake.clock.day = {2027, 1, 5};
    fake.clock.seconds = 68134.25;
    fake.clock.separator = ",";
    fake.clock.time = "18:55:34 \xE2\x80\x94 Mittag";  // an em dash from the locale
    ASSERT_TRUE(WriteScanLog(
        fake.program,
        "\r\nAdware found >/home/zo\xC3\xAB/b.exe\r\nAdware found >/\xE6\x97\xA5.exe"));
    fake.clock.separator = ".";
    ASSERT_TRUE(WriteScanLog(fake.program, ""));
    EXPECT_EQ(fake.files.readFile(reports + "/2027-1-568134,25.log"_path),
              "\r\nAdware found >/home/zo\xEB/b.exe\r\nAdware found >/?.exe\r\n"
              "Test Run : 06/12/2026 at 18:55:34 \x97 Mittag\r\n\r\n");
    EXPECT_EQ(fake.files.readFile(reports + "/2027-1-568134.25.log"_path),
              "NO Adware found...\r\n\r\nTest Run : 06/12/2026 at 18:55:34 \x97 Mittag\r\n\r\n");
}

}  // namespace
}  // namespace tarnwk
