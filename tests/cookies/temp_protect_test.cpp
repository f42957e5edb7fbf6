// Matching without the shell's wildcard function: plain file names only.
#include "cookies/temp_protect.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

using Entries = std::vector<std::string>;

TempProtectList ListOf(Entries entries) {
  TempProtectList list;
  list.entries = std::move(entries);
  list.Count = static_cast<int32_t>(list.entries.size());
  return list;
}

TEST(MatchTempProtectWithoutShell, OnlyAnEqualFileNameMatches) {
  const std::string longName(300, 'a');
  struct Case {
    Entries entries;
    std::string path, name;
    char expected;
  };
  const Case cases[] = {
      {{}, "c:\\temp\\a.log", "a.log", ' '},
      {{"p=keep.txt", "i=Locked.DAT"}, "c:\\temp\\KEEP.txt", "KEEP.txt", 'p'},
      {{"p=keep.txt", "i=Locked.DAT"}, "c:\\temp\\locked.dat", "locked.dat", 'i'},
      {{"p=keep.txt", "i=Locked.DAT"}, "c:\\temp\\other.txt", "other.txt", ' '},
      // No wildcards, no folders.
      {{"p=*.log", "p=c:\\temp\\keep\\"}, "c:\\temp\\a.log", "a.log", ' '},
      {{"p=*.log", "p=c:\\temp\\keep\\"}, "c:\\temp\\keep\\", "", ' '},
      // Protection wins wherever it stands.
      {{"i=same.txt", "p=same.txt"}, "c:\\same.txt", "same.txt", 'p'},
      {{"p=same.txt", "i=same.txt"}, "c:\\same.txt", "same.txt", 'p'},
      // Entries without a pattern are skipped; the kind letter may be upper case.
      {{"p=", "p", "", "P=Upper.txt"}, "c:\\x", "", ' '},
      {{"p=", "p", "", "P=Upper.txt"}, "c:\\upper.txt", "upper.txt", 'p'},
      // Patterns are cut at 255 characters.
      {{"p=" + longName}, "c:\\" + longName, longName, ' '},
      {{"p=" + longName}, "c:\\" + longName.substr(0, 255), longName.substr(0, 255), 'p'},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchTempProtect(ListOf(c.entries), c.path, c.name, nullptr), c.expected) << c.path.substr(0, 40);
}

}  // namespace
}  // namespace tidemark::cookies
