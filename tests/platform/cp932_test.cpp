#include "platform/cp932.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(Cp932Test, ConvertsScreenText) {
  EXPECT_EQ(Cp932ToUtf8("\x82\xa0"), "あ");
  EXPECT_EQ(Cp932ToUtf8("\xb1"), "ｱ");  // half-width kana
  EXPECT_EQ(Utf8ToCp932("終了"), "\x8f\x49\x97\xb9");
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("RA 終わり")), "RA 終わり");
}

TEST(Cp932Test, RoundTripIsNotByteExactForSomeCharacters) {
  // Why records are never converted: these two come back as other codes.
  for (const std::string bytes : {"\x87\x90", "\xed\x40"}) {
    const std::string back = Utf8ToCp932(Cp932ToUtf8(bytes));
    EXPECT_NE(back, bytes);
  }
}

TEST(Cp932Test, InvalidBytesAreReplacedNotDropped) {
  EXPECT_EQ(Cp932ToUtf8("A\x82"), "A\xEF\xBF\xBD");
}

}  // namespace
}  // namespace meridax
