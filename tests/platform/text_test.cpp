#include "platform/text.h"

#include <gtest/gtest.h>

namespace tidemark {
namespace {

TEST(Text, CaseInsensitiveComparisonsFoldAsciiOnlyIntegersAreWholeNumbersAndPathsComeApart) {
  EXPECT_TRUE(SameText("Boot", "BOOT") && !SameText("Boot", "Boots"));
  EXPECT_TRUE(StartsWithNoCase("Pause=5", "pause=") && !StartsWithNoCase("Pau", "pause="));
  EXPECT_TRUE(EndsWithNoCase("News - Windows Internet Explorer", "WINDOWS INTERNET EXPLORER"));
  EXPECT_EQ(UpperCase("\xe4x"), "\xe4X");
  for (auto [text, value] : {std::pair{" 42 ", 42LL}, {"-3", -3LL}, {"+7", 7LL}}) EXPECT_EQ(ParseInteger(text), value);
  for (const char* text : {"", "x", "12abc", "99999999999999999999999"}) EXPECT_FALSE(ParseInteger(text)) << text;
  EXPECT_EQ(ParseIntOr("5000000000", 9), 9);
  EXPECT_EQ(ParentFolder("C:\\a\\b.txt") + "|" + FileNameOf("C:\\a\\b.txt") + "|" + BaseNameOf("C:\\a\\tide.mark.exe"),
            "C:\\a|b.txt|tide.mark");
  EXPECT_EQ(JoinPath("C:\\a\\", "b") + "|" + JoinPath("C:\\a", "b"), "C:\\a\\b|C:\\a\\b");
  EXPECT_EQ(Split("a||b", '|'), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace tidemark
