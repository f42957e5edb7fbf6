// Matching without the shell's wildcard function: plain file names only.
#include "cookies/temp_protect.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

TempProtectList ListOf(std::vector<std::string> entries) {
  TempProtectList list;
  list.entries = std::move(entries);
  list.Count = static_cast<int32_t>(list.entries.size());
  return list;
}

TEST(MatchTempProtectWithoutShell, EmptyListAnswersBlank) {
  EXPECT_EQ(MatchTempProtect(TempProtectList(), "c:\\temp\\a.log", "a.log", nullptr), ' ');
}

TEST(MatchTempProtectWithoutShell, EqualFileNameMatchesCaseInsensitively) {
  TempProtectList list = ListOf({"p=keep.txt", "i=Locked.DAT"});
  EXPECT_EQ(MatchTempProtect(list, "c:\\temp\\KEEP.txt", "KEEP.txt", nullptr), 'p');
  EXPECT_EQ(MatchTempProtect(list, "c:\\temp\\locked.dat", "locked.dat", nullptr), 'i');
  EXPECT_EQ(MatchTempProtect(list, "c:\\temp\\other.txt", "other.txt", nullptr), ' ');
}

TEST(MatchTempProtectWithoutShell, WildcardsAndFoldersAreNotHonoured) {
  TempProtectList list = ListOf({"p=*.log", "p=c:\\temp\\keep\\"});
  EXPECT_EQ(MatchTempProtect(list, "c:\\temp\\a.log", "a.log", nullptr), ' ');
  EXPECT_EQ(MatchTempProtect(list, "c:\\temp\\keep\\", "", nullptr), ' ');
}

TEST(MatchTempProtectWithoutShell, ProtectWinsWhereverItStands) {
  for (const auto& entries : {std::vector<std::string>{"i=same.txt", "p=same.txt"},
                              std::vector<std::string>{"p=same.txt", "i=same.txt"}})
    EXPECT_EQ(MatchTempProtect(ListOf(entries), "c:\\same.txt", "same.txt", nullptr), 'p');
}

TEST(MatchTempProtectWithoutShell, ShortEntriesAreSkippedAndKindIsLowerCase) {
  TempProtectList list = ListOf({"p=", "p", "", "P=Upper.txt"});
  EXPECT_EQ(MatchTempProtect(list, "c:\\x", "", nullptr), ' ');
  EXPECT_EQ(MatchTempProtect(list, "c:\\upper.txt", "upper.txt", nullptr), 'p');
}

TEST(MatchTempProtectWithoutShell, PatternIsCutAt255Characters) {
  std::string longName(300, 'a');
  TempProtectList list = ListOf({"p=" + longName});
  EXPECT_EQ(MatchTempProtect(list, "c:\\" + longName, longName, nullptr), ' ');
  EXPECT_EQ(MatchTempProtect(list, "c:\\" + longName.substr(0, 255), longName.substr(0, 255), nullptr), 'p');
}

}  // namespace
}  // namespace tidemark::cookies
