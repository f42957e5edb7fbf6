#include "cookies/text_lines.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

TEST(TextLines, AcceptsEveryLineBreak) {
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(SplitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\r\rb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

TEST(TextLines, SpansPointIntoTheText) {
  std::vector<LineSpan> spans = SplitLineSpans("ab\r\ncde\nf");
  ASSERT_EQ(spans.size(), 3u);
  EXPECT_EQ(spans[1].start, 4u);
  EXPECT_EQ(spans[1].length, 3u);
  EXPECT_EQ(spans[2].start, 8u);
}

TEST(TextLines, JoinEndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLines({"a", "b"}), "a\r\nb\r\n");
  EXPECT_EQ(JoinLines({}), "");
}

}  // namespace
}  // namespace tidemark::cookies
