#include <gtest/gtest.h>

#include "cookies/temp_protect.h"

namespace tidemark::cookies {
namespace {

using Entries = std::vector<std::string>;

TempProtectList ListOf(Entries entries) {
  TempProtectList list;
  list.entries = std::move(entries);
  list.Count = static_cast<int32_t>(list.entries.size());
  return list;
}

class ShellMatching : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(shell, nullptr) << "PathMatchSpecA not found in shlwapi.dll"; }
  char Match(const TempProtectList& list, const std::string& fullPath, const std::string& fileName) {
    return MatchTempProtect(list, fullPath, fileName, shell);
  }
  const platform::PathMatcher* shell = platform::ShellPathMatcher();
};

TEST_F(ShellMatching, PatternWithoutBackslashMatchesTheFileNameInAnyFolder) {
  TempProtectList list = ListOf({"p=*.log"});
  EXPECT_EQ(Match(list, "C:\\TEMP\\A.LOG", "A.LOG"), 'p');
  EXPECT_EQ(Match(list, "d:\\other\\deep\\b.log", "b.log"), 'p');
  EXPECT_EQ(Match(list, "c:\\temp\\a.txt", "a.txt"), ' ');
  // Not tried against the full path: a folder never matches a name pattern.
  EXPECT_EQ(Match(list, "c:\\logs.log\\", ""), ' ');
}

TEST_F(ShellMatching, PatternWithBackslashIsAlsoTriedOnTheFullPath) {
  TempProtectList list = ListOf({"i=c:\\temp\\keep\\*"});
  EXPECT_EQ(Match(list, "c:\\temp\\keep\\", ""), 'i');
  EXPECT_EQ(Match(list, "C:\\Temp\\Keep\\file.txt", "file.txt"), 'i');
  EXPECT_EQ(Match(list, "c:\\temp\\other\\file.txt", "file.txt"), ' ');
}

TEST_F(ShellMatching, SeveralPatternsInOneEntry) {
  TempProtectList list = ListOf({"p=*.bak;*.old"});
  EXPECT_EQ(Match(list, "c:\\a.old", "a.old"), 'p');
  EXPECT_EQ(Match(list, "c:\\a.bak", "a.bak"), 'p');
  EXPECT_EQ(Match(list, "c:\\a.new", "a.new"), ' ');
}

TEST_F(ShellMatching, ProtectWinsOverIgnoreAndEmptyListAnswersBlank) {
  // "i=" sorts before "p=": the protection must still hold.
  TempProtectList list = ListOf({"i=*.tmp", "p=keep.tmp"});
  EXPECT_EQ(Match(list, "c:\\keep.tmp", "keep.tmp"), 'p');
  EXPECT_EQ(Match(list, "c:\\other.tmp", "other.tmp"), 'i');
  EXPECT_EQ(Match(TempProtectList(), "c:\\keep.tmp", "keep.tmp"), ' ');
  EXPECT_EQ(Match(ListOf({"p="}), "c:\\keep.tmp", "keep.tmp"), ' ');
}

}  // namespace
}  // namespace tidemark::cookies
