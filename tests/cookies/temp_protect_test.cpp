// Matching without the shell's wildcard function: plain file names only.
#include "cookies/temp_protect.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

TEST(MatchTempProtectWithoutShell, OnlyAnEqualFileNameMatchesAndProtectionWins) {
  const std::string longName(300, 'a');
  const std::vector<std::string> two = {"p=keep.txt", "i=Locked.DAT"}, unnamed = {"p=", "p", "", "P=Upper.txt"};
  const std::tuple<std::vector<std::string>, std::string, char> cases[] = {
      {{}, "a.log", ' '}, {two, "KEEP.txt", 'p'}, {two, "locked.dat", 'i'}, {two, "other.txt", ' '},
      {{"p=*.log", "p=c:\\temp\\a.log"}, "a.log", ' '},  // no wildcards, no folders
      {{"i=same.txt", "p=same.txt"}, "same.txt", 'p'}, {{"p=same.txt", "i=same.txt"}, "same.txt", 'p'},
      // Entries without a pattern are skipped; the kind letter may be upper case.
      {unnamed, "", ' '}, {unnamed, "upper.txt", 'p'},
      // Patterns are cut at 255 characters.
      {{"p=" + longName}, longName, ' '}, {{"p=" + longName}, longName.substr(0, 255), 'p'},
  };
  for (const auto& [entries, name, expected] : cases) {
    TempProtectList list;
    list.entries = entries;
    list.Count = static_cast<int32_t>(entries.size());
    EXPECT_EQ(MatchTempProtect(list, "c:\\temp\\" + name, name, nullptr), expected) << name.substr(0, 40);
  }
}

}  // namespace
}  // namespace tidemark::cookies
