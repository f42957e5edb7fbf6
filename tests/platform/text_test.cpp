#include "platform/text.h"

#include <gtest/gtest.h>

namespace tidemark {
namespace {

TEST(Text, CaseInsensitiveComparisonsFoldAsciiOnly) {
  EXPECT_TRUE(SameText("Boot", "BOOT"));
  EXPECT_FALSE(SameText("Boot", "Boots"));
  EXPECT_TRUE(StartsWithNoCase("Pause=5", "pause="));
  EXPECT_FALSE(StartsWithNoCase("Pau", "pause="));
  EXPECT_TRUE(EndsWithNoCase("News - Windows Internet Explorer", "WINDOWS INTERNET EXPLORER"));
  EXPECT_EQ(UpperCase("\xe4x"), "\xe4X");
}

TEST(Text, ParseIntegerAcceptsOnlyWholeNumbers) {
  for (auto [text, value] : {std::pair{" 42 ", 42LL}, {"-3", -3LL}, {"+7", 7LL}}) EXPECT_EQ(ParseInteger(text), value);
  for (const char* text : {"", "x", "12abc", "99999999999999999999999"}) EXPECT_FALSE(ParseInteger(text)) << text;
  EXPECT_EQ(ParseIntOr("5000000000", 9), 9);
}

TEST(Text, PathPieces) {
  EXPECT_EQ(ParentFolder("C:\\a\\b.txt"), "C:\\a");
  EXPECT_EQ(FileNameOf("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(BaseNameOf("C:\\a\\tide.mark.exe"), "tide.mark");
  EXPECT_EQ(JoinPath("C:\\a\\", "b"), "C:\\a\\b");
  EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(Split("a||b", '|'), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace tidemark
