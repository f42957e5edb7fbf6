#include "cookies/scramble.h"

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

namespace tidemark::cookies {
namespace {

// Answers a fixed share of each requested range and records the ranges.
class FixedRandom : public RandomSource {
 public:
  explicit FixedRandom(bool highest) : highest_(highest) {}
  int Next(int maximum) override {
    maxima.push_back(maximum);
    return highest_ ? maximum : 0;
  }
  std::vector<int> maxima;

 private:
  bool highest_;
};

bool SameClass(unsigned char before, unsigned char after) {
  if (std::isupper(before)) return std::isupper(after);
  if (std::islower(before)) return std::islower(after);
  if (std::isdigit(before)) return std::isdigit(after);
  return before == after;
}

TEST(ScrambleValue, DrawsZeroToTwelveForLettersAndZeroToFourForDigits) {
  std::string text = "aZ5-";
  FixedRandom random(true);
  ScrambleValue(text, 1, text.size(), random);
  EXPECT_EQ(random.maxima, (std::vector<int>{12, 12, 4}));
  EXPECT_EQ(text, "mN1-");
}

TEST(ScrambleValue, ExtremeDrawsStayInsideEachClass) {
  std::string text = "AMNZamnz0459";
  FixedRandom highest(true);
  ScrambleValue(text, 1, text.size(), highest);
  EXPECT_EQ(text, "MYBNmybn4815");

  text = "AMNZamnz0459";
  FixedRandom lowest(false);
  ScrambleValue(text, 1, text.size(), lowest);
  EXPECT_EQ(text, "AMNZamnz0459");
}

TEST(ScrambleValue, KeepsLengthCaseDigitsAndPunctuation) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  SeededRandom random(12345);
  for (int round = 0; round < 50; ++round) {
    std::string text = all;
    ScrambleValue(text, 1, text.size(), random);
    ASSERT_EQ(text.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i)
      ASSERT_TRUE(SameClass(static_cast<unsigned char>(all[i]), static_cast<unsigned char>(text[i])))
          << "character " << int(static_cast<unsigned char>(all[i])) << " became "
          << int(static_cast<unsigned char>(text[i]));
  }
}

TEST(ScrambleValue, FiveBecomesADigitFromOneToFive) {
  SeededRandom random(7);
  std::vector<bool> seen(10, false);
  for (int round = 0; round < 500; ++round) {
    std::string text = "5";
    ScrambleValue(text, 1, 1, random);
    ASSERT_GE(text[0], '1');
    ASSERT_LE(text[0], '5');
    seen[text[0] - '0'] = true;
  }
  for (char c = '1'; c <= '5'; ++c) EXPECT_TRUE(seen[c - '0']) << c << " never drawn";
}

TEST(ScrambleValue, TouchesOnlyTheGivenRangeAndClipsIt) {
  std::string text = "abcdef";
  FixedRandom random(true);
  ScrambleValue(text, 2, 3, random);
  EXPECT_EQ(text, "anodef");

  text = "abc";
  ScrambleValue(text, 2, 99, random);
  EXPECT_EQ(text, "ano");
  ScrambleValue(text, 0, 0, random);
  EXPECT_EQ(text, "ano");
  std::string empty;
  ScrambleValue(empty, 1, 5, random);
  EXPECT_EQ(empty, "");
}

TEST(ScrambleCookieLine, ScramblesOnlyTheSeventhField) {
  std::string line = ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tabc123\textra";
  FixedRandom random(true);
  ScrambleCookieLine(line, random);
  EXPECT_EQ(line, ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tmno567\textra");

  line = ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tabc";
  ScrambleCookieLine(line, random);
  EXPECT_EQ(line, ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tmno");
}

TEST(ScrambleCookieLine, EmptyValueOrShortLineIsLeftAlone) {
  FixedRandom random(true);
  std::string line = ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\t";
  ScrambleCookieLine(line, random);
  EXPECT_EQ(line, ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\t");
  line = "abc\tdef";
  ScrambleCookieLine(line, random);
  EXPECT_EQ(line, "abc\tdef");
  EXPECT_TRUE(random.maxima.empty());
}

}  // namespace
}  // namespace tidemark::cookies
