#include "locations/json_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tidemark::locations {
namespace {

TEST(JsonText, DecodesEscapesToUtf8) {
  auto json = ParseJson(R"(["a\"\\\/\b\f\n\r\t", "\u00e9\u20ac\ud83d\ude00"])");
  ASSERT_TRUE(json && json->items.size() == 2u);
  EXPECT_EQ(json->items[0].text + "|" + json->items[1].text, "a\"\\/\b\f\n\r\t|\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(JsonText, RefusesWhatIsNotJson) {
  for (const char* text : {"",          "{",    "{\"a\" 1}", "{\"a\":1,}",    "[1,]",    "[01]",        "[1.]",
                           "[-]",       "[1e]", "\"open",    "\"tab\there\"", "\"\\x\"", "\"\\ud800\"", "\"\\udc00\"",
                           "\"\\u12\"", "tru",  "nul",       "{} {}",         "[1] x",   "{1:2}",       "'a'"})
    EXPECT_FALSE(ParseJson(text)) << text;
}

TEST(JsonText, NestingEndsAtTheBrowsersOwnLimit) {
  auto nested = [](size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  EXPECT_TRUE(ParseJson(nested(kMaxJsonDepth)));
  EXPECT_FALSE(ParseJson(nested(kMaxJsonDepth + 1)));
}

}  // namespace
}  // namespace tidemark::locations
