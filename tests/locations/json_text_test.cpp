#include "locations/json_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tidemark::locations {
namespace {

TEST(JsonText, NestingEndsAtTheBrowsersOwnLimit) {
  auto nested = [](size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); };
  EXPECT_TRUE(ParseJson(nested(kMaxJsonDepth)));
  EXPECT_FALSE(ParseJson(nested(kMaxJsonDepth + 1)));
}

}  // namespace
}  // namespace tidemark::locations
