// UTF-8 to Windows-1252, the code page the scan log is written in.
#include <gtest/gtest.h>

#include "scan/Cp1252.h"

namespace tarnwk {
namespace {

TEST(EncodeCp1252, EveryByteOfThePageSurvivesARoundTrip) {
    std::string page;
    for (int byte = 0; byte < 256; ++byte) page += static_cast<char>(byte);
    EXPECT_EQ(encodeCp1252(decodeCp1252(page)), page);
}

TEST(EncodeCp1252, MapsTheTypographicCharactersToTheirBytes) {
    EXPECT_EQ(encodeCp1252("\xE2\x82\xAC \xE2\x80\x9C"
                           "a\xE2\x80\x9D \xC5\x92 \xC5\xB8"),
              "\x80 \x93"
              "a\x94 \x8C \x9F");
    EXPECT_EQ(encodeCp1252("caf\xC3\xA9 \xC3\xBF"), "caf\xE9 \xFF");
}

TEST(EncodeCp1252, WhatThePageCannotHoldBecomesAQuestionMark) {
    EXPECT_EQ(encodeCp1252("\xE6\x97\xA5\xE6\x9C\xAC"), "??");  // outside the page
    EXPECT_EQ(encodeCp1252("\xF0\x9F\x98\x80!"), "?!");         // four bytes, one character
    EXPECT_EQ(encodeCp1252("\xC2\x80"), "?");  // a C1 control the page maps elsewhere
}

TEST(EncodeCp1252, InvalidUtf8BecomesOneQuestionMarkPerByte) {
    EXPECT_EQ(encodeCp1252("a\xC3"), "a?");          // cut short
    EXPECT_EQ(encodeCp1252("\xE2\x82x"), "??x");     // cut short inside
    EXPECT_EQ(encodeCp1252("\xC0\xAF"), "??");       // overlong "/"
    EXPECT_EQ(encodeCp1252("\xED\xA0\x80"), "???");  // a surrogate
    EXPECT_EQ(encodeCp1252("\xFF\xFE"), "??");
    EXPECT_EQ(encodeCp1252("\x80z"), "?z");  // a lone continuation byte
}

}  // namespace
}  // namespace tarnwk
