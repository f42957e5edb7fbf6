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
  EXPECT_EQ(ParseInteger(" 42 "), 42);
  EXPECT_EQ(ParseInteger("-3"), -3);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_FALSE(ParseInteger(""));
  EXPECT_FALSE(ParseInteger("x"));
  EXPECT_FALSE(ParseInteger("12abc"));
  EXPECT_FALSE(ParseInteger("99999999999999999999999"));
  EXPECT_EQ(ParseIntOr("5000000000", 9), 9);
}

TEST(Text, PathPieces) {
  EXPECT_EQ(ParentFolder("C:\\a\\b.txt"), "C:\\a");
  EXPECT_EQ(FileNameOf("C:\\a\\b.txt"), "b.txt");
  EXPECT_EQ(BaseNameOf("C:\\a\\tidemark.exe"), "tidemark");
  EXPECT_EQ(JoinPath("C:\\a\\", "b"), "C:\\a\\b");
  EXPECT_EQ(JoinPath("C:\\a", "b"), "C:\\a\\b");
  EXPECT_EQ(Split("a||b", '|'), (std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace tidemark
