#include "cookies/scramble.h"

#include <gtest/gtest.h>

#include <cctype>
#include <tuple>

#include "support/memory_files.h"

namespace tidemark::cookies {
namespace {

// Answers the highest (or lowest) value of each requested range.
struct FixedRandom : RandomSource {
  explicit FixedRandom(bool highest) : highest(highest) {}
  int Next(int maximum) override { return highest ? maximum : 0; }
  bool highest;
};

int ClassOf(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isupper(u) ? -1 : std::islower(u) ? -2 : std::isdigit(u) ? -3 : u;
}

TEST(ScrambleValue, EachCharacterMovesWithinItsHalfOfItsClassInTheRangeOnly) {
  FixedRandom highest(true), lowest(false);
  std::string text;
  for (auto [before, first, last, random, after] :
       {std::tuple<const char*, size_t, size_t, RandomSource*, const char*>{"AMNZamnz0459-", 1, 13, &highest,
                                                                           "MYBNmybn4815-"},
        {"AMNZamnz0459", 1, 12, &lowest, "AMNZamnz0459"}, {"abcdef", 2, 3, &highest, "anodef"},
        {"abc", 2, 99, &highest, "ano"}}) {
    ScrambleValue(text = before, first, last, *random);
    EXPECT_EQ(text, after) << before;
  }
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  SeededRandom random(12345);
  for (int round = 0; round < 50; ++round) {
    ScrambleValue(text = all, 1, all.size(), random);
    ASSERT_EQ(text.size(), all.size());
    for (size_t i = 0; i < all.size(); ++i) ASSERT_EQ(ClassOf(text[i]), ClassOf(all[i])) << int(all[i]);
  }
}

TEST(ScrambleCookieLine, ScramblesOnlyTheSeventhField) {
  FixedRandom random(true);
  for (auto [line, scrambled] :
       {std::pair<std::string, std::string>{".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tabc123\textra",
                                            ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tmno567\textra"},
        {".s\tTRUE\t/\tFALSE\t1\tid\t", ".s\tTRUE\t/\tFALSE\t1\tid\t"}, {"abc\tdef", "abc\tdef"}}) {
    ScrambleCookieLine(line, random);
    EXPECT_EQ(line, scrambled);
  }
}

// Only the value line of each record changes, line breaks kept; a file that
// cannot be read or written answers false and stays as it was.
TEST(ScrambleIECookieFile, ScramblesOnlyTheValueLinesOrLeavesTheFileAsItWas) {
  test::MemoryFileSystem files;
  const std::string rest = "site.test/\r\n1024\r\n2894529536\r\n30148398\r\n1405722896\r\n29873420\r\n*\n";
  const std::string two = "SID\r\nAbc123XyZ\r\n" + rest + "pref\nid=99;lang=en\n" + rest, path = "C:\\c\\a.txt";
  const std::tuple<std::string, bool, bool, std::string> cases[] = {
      {two, false, true, "SID\r\nMno567LmN\r\n" + rest + "pref\nup=55;xmbs=qb\n" + rest},
      {"name\nValue\n", false, true, "name\nValue\n"},
      {two, true, false, two},
  };
  FixedRandom random(true);
  for (const auto& [before, failing, scrambled, after] : cases) {
    files.AddFile(path, before);
    files.writesStopHalfWay = failing;
    EXPECT_EQ(ScrambleIECookieFile(files, path, random), scrambled);
    EXPECT_EQ(files.ReadFile(path), after);
    EXPECT_FALSE(files.FileExists(path + ".new"));
  }
  uint32_t error = 0;
  EXPECT_FALSE(ScrambleIECookieFile(files, "C:\\c\\missing.txt", random, &error));
  EXPECT_EQ(error, 2u);
  EXPECT_FALSE(files.FileExists("C:\\c\\missing.txt"));
}

}  // namespace
}  // namespace tidemark::cookies
