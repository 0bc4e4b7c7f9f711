#include <gtest/gtest.h>

#include "Text.h"

namespace buildertest {
namespace {

using builder::cp1252ToUtf8;
using builder::utf8ToCp1252;

TEST(Text, EveryWindows1252ByteSurvivesUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string back;
  char32_t offending = 0;
  ASSERT_TRUE(utf8ToCp1252(cp1252ToUtf8(all), back, offending)) << std::hex << offending;
  EXPECT_EQ(back, all);
}

TEST(Text, Windows1252Mapping) {
  struct Case {
    const char* utf8;
    int byte;  // -1: not representable
  } cases[] = {
      {"\xE2\x82\xAC", 0x80},  // euro sign
      {"\xC2\x81", 0x81},      // undefined in Windows-1252, kept as the C1 control
      {"\xC5\xB8", 0x9F},      // Y with diaeresis
      {"\xC2\xA0", 0xA0},
      {"\xC3\xA4", 0xE4},
      {"\xC2\x80", -1},        // U+0080: 0x80 is the euro sign
      {"\xC4\x80", -1},        // U+0100
      {"\xC3", -1},            // malformed UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    std::string bytes;
    char32_t offending = 0;
    const bool ok = utf8ToCp1252(c.utf8, bytes, offending);
    EXPECT_EQ(ok, c.byte >= 0);
    if (ok) EXPECT_EQ(bytes, std::string(1, static_cast<char>(c.byte)));
  }
}

TEST(Text, LoneSurrogateIsMarkedInexact) {
  bool exact = true;
  EXPECT_EQ(builder::utf16leToUtf8(std::string("\x00\xD8", 2), exact), "\xEF\xBF\xBD");
  EXPECT_FALSE(exact);
}

}  // namespace
}  // namespace buildertest
