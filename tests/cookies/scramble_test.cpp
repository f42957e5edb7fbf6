#include "cookies/scramble.h"

#include <gtest/gtest.h>

#include <cctype>
#include <vector>

#include "support/memory_files.h"

namespace tidemark::cookies {
namespace {

// Answers the highest (or lowest) value of each requested range and records the ranges.
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

int ClassOf(char c) {
  auto u = static_cast<unsigned char>(c);
  return std::isupper(u) ? -1 : std::islower(u) ? -2 : std::isdigit(u) ? -3 : u;
}

TEST(ScrambleValue, EachCharacterMovesWithinItsHalfOfItsClass) {
  std::string text = "AMNZamnz0459-";
  FixedRandom highest(true), lowest(false);
  ScrambleValue(text, 1, text.size(), highest);
  EXPECT_EQ(text, "MYBNmybn4815-");
  EXPECT_EQ(highest.maxima, (std::vector<int>{12, 12, 12, 12, 12, 12, 12, 12, 4, 4, 4, 4}));
  ScrambleValue(text = "AMNZamnz0459", 1, 12, lowest);
  EXPECT_EQ(text, "AMNZamnz0459");
  // Only the given range, clipped to the text.
  ScrambleValue(text = "abcdef", 2, 3, highest);
  EXPECT_EQ(text, "anodef");
  ScrambleValue(text = "abc", 2, 99, highest);
  EXPECT_EQ(text, "ano");

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
        {".s\tTRUE\t/\tFALSE\t1\tid\tabc", ".s\tTRUE\t/\tFALSE\t1\tid\tmno"},
        {".s\tTRUE\t/\tFALSE\t1\tid\t", ".s\tTRUE\t/\tFALSE\t1\tid\t"}, {"abc\tdef", "abc\tdef"}}) {
    ScrambleCookieLine(line, random);
    EXPECT_EQ(line, scrambled);
  }
}

TEST(ScrambleIECookieFile, ScramblesOnlyTheValueLineOfEachRecordAndKeepsTheLineBreaks) {
  const std::string rest = "site.test/\r\n1024\r\n2894529536\r\n30148398\r\n1405722896\r\n29873420\r\n*\n";
  const std::pair<std::string, std::string> cases[] = {
      {"SID\r\nAbc123XyZ\r\n" + rest + "pref\nid=99;lang=en\n" + rest,
       "SID\r\nMno567LmN\r\n" + rest + "pref\nup=55;xmbs=qb\n" + rest},
      {"name\nValue\n", "name\nValue\n"}};
  test::MemoryFileSystem files;
  FixedRandom random(true);
  for (auto [before, after] : cases) {
    files.AddFile("C:\\c\\me@site[1].txt", before);
    EXPECT_TRUE(ScrambleIECookieFile(files, "C:\\c\\me@site[1].txt", random));
    EXPECT_EQ(files.ReadFile("C:\\c\\me@site[1].txt"), after);
    EXPECT_FALSE(files.FileExists("C:\\c\\me@site[1].txt.new"));
  }
}

TEST(ScrambleIECookieFile, UnreadableOrUnwritableFileAnswersFalseAndStaysAsItWas) {
  struct WritesStopHalfWay : test::MemoryFileSystem {
    bool WriteFile(const std::string& path, const std::string& content) override {
      MemoryFileSystem::WriteFile(path, content.substr(0, content.size() / 2));
      return false;
    }
  } files;
  FixedRandom random(true);
  uint32_t error = 0;
  EXPECT_FALSE(ScrambleIECookieFile(files, "C:\\c\\missing.txt", random, &error));
  EXPECT_EQ(error, 3u);
  EXPECT_FALSE(files.FileExists("C:\\c\\missing.txt"));
  files.AddFile("C:\\c\\a.txt", "n\nvalue\n1\n2\n3\n4\n5\n6\n*\n");
  EXPECT_FALSE(ScrambleIECookieFile(files, "C:\\c\\a.txt", random));
  EXPECT_EQ(files.ReadFile("C:\\c\\a.txt"), "n\nvalue\n1\n2\n3\n4\n5\n6\n*\n");
  EXPECT_FALSE(files.FileExists("C:\\c\\a.txt.new"));
}

}  // namespace
}  // namespace tidemark::cookies
