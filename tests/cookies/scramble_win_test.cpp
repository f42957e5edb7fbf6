#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>

#include "platform/files_win.h"
#include "cookies/scramble.h"
#include "cookies/text_lines.h"
#include "support/sandbox_win.h"

namespace tidemark::cookies {
namespace {

using tidemark::test::TempFolder;

std::string Content(const std::string& path) { return platform::RealFileSystem().ReadFile(path).value_or("<none>"); }

// Two nine-line records as Internet Explorer writes them (LF line ends).
const std::string kCookieFile =
    "SID\nAbc123XyZ\nsite.test/\n1024\n2894529536\n30148398\n1405722896\n29873420\n*\n"
    "pref\nid=99;lang=en\nsite.test/\n1024\n2894529536\n30148398\n1405722896\n29873420\n*\n";

bool SameClass(char before, char after) {
  auto b = static_cast<unsigned char>(before), a = static_cast<unsigned char>(after);
  if (std::isupper(b)) return std::isupper(a);
  if (std::islower(b)) return std::islower(a);
  if (std::isdigit(b)) return std::isdigit(a);
  return a == b;
}

TEST(ScrambleIECookieFile, ScramblesOnlyTheValueLineOfEachRecord) {
  TempFolder folder;
  std::string path = folder.Write("me@site[1].txt", kCookieFile);
  SeededRandom random(99);
  ASSERT_TRUE(ScrambleIECookieFile(platform::RealFileSystem(), path, random));

  std::string after = Content(path);
  ASSERT_EQ(after.size(), kCookieFile.size());
  std::vector<std::string> before = SplitLines(kCookieFile), lines = SplitLines(after);
  ASSERT_EQ(lines.size(), before.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == 1 || i == 10) {
      for (size_t c = 0; c < lines[i].size(); ++c) EXPECT_TRUE(SameClass(before[i][c], lines[i][c])) << i;
    } else {
      EXPECT_EQ(lines[i], before[i]) << "line " << i;
    }
  }
  EXPECT_NE(lines[1] + lines[10], before[1] + before[10]);
  // Line breaks are kept as they were.
  for (size_t i = 0; i < after.size(); ++i)
    if (kCookieFile[i] == '\n') {
      EXPECT_EQ(after[i], '\n');
    }
}

TEST(ScrambleIECookieFile, NineLineFileChangesOnlyItsSecondLineAndTwoLineFileNothing) {
  TempFolder folder;
  std::string nine = "n\nValue9\nh/\n1\n2\n3\n4\n5\n*";
  std::string path = folder.Write("nine.txt", nine);
  SeededRandom random(1);
  std::string scrambled;
  for (int round = 0; round < 20 && scrambled.empty(); ++round) {
    ASSERT_TRUE(ScrambleIECookieFile(platform::RealFileSystem(), path, random));
    if (Content(path) != nine) scrambled = Content(path);
  }
  ASSERT_FALSE(scrambled.empty());
  EXPECT_EQ(scrambled.substr(0, 2), "n\n");
  EXPECT_EQ(scrambled.substr(8), nine.substr(8));

  std::string two = folder.Write("two.txt", "name\nValue\n");
  ASSERT_TRUE(ScrambleIECookieFile(platform::RealFileSystem(), two, random));
  EXPECT_EQ(Content(two), "name\nValue\n");
}

TEST(ScrambleIECookieFile, UnreadableOrUnwritableFileAnswersFalse) {
  TempFolder folder;
  SeededRandom random(3);
  std::string missing = folder / "missing.txt";
  EXPECT_FALSE(ScrambleIECookieFile(platform::RealFileSystem(), missing, random));
  EXPECT_FALSE(platform::RealFileSystem().FileExists(missing));

  struct WriteFails : platform::Win32FileSystem {
    bool WriteFile(const std::string&, const std::string&) override { return false; }
  } failing;
  std::string path = folder.Write("c.txt", kCookieFile);
  EXPECT_FALSE(ScrambleIECookieFile(failing, path, random));
  EXPECT_EQ(Content(path), kCookieFile);
}

}  // namespace
}  // namespace tidemark::cookies
