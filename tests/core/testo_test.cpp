#include "core/testo.h"

#include <gtest/gtest.h>

namespace tarkpo {
namespace {

TEST(Testo, Windows1252BothWays) {
  struct Caso {
    std::string cp1252;
    std::string utf8;
  };
  const Caso casi[] = {
      {"caff\xE8 \xE0 \xF9", "caffè à ù"},
      {"\x80 \x85 \x92 \x9F", "€ … ’ Ÿ"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // undefined: kept
      {"\xA0\xFF", "\u00A0ÿ"},
      {"plain", "plain"},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Cp1252AUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ACp1252(c.utf8), c.cp1252);
    EXPECT_TRUE(IsUtf8Valido(c.utf8));
  }
}

TEST(Testo, Utf8ThatWindows1252CannotHold) {
  EXPECT_EQ(Utf8ACp1252("a\u4E2Db\U0001F600c\u0080"), "a?b?c?");
  EXPECT_EQ(Utf8ACp1252("x\xE8y"), "x?y");     // a lone lead byte
  EXPECT_EQ(Utf8ACp1252("x\xE2\x82"), "x??");  // cut short
}

TEST(Testo, WellFormedUtf8) {
  const std::pair<const char*, bool> casi[] = {
      {"", true},
      {"è€\U0010FFFF", true},
      {"caff\xE8", false},          // Windows-1252
      {"\xC0\xAF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xE2\x82", false},          // cut short
      {"\x80", false},              // continuation alone
  };
  for (const auto& [testo, valido] : casi) EXPECT_EQ(IsUtf8Valido(testo), valido) << testo;
}

}  // namespace
}  // namespace tarkpo
