// Matching with the shell's own wildcard function, PathMatchSpecA.
#include <gtest/gtest.h>

#include "cookies/temp_protect.h"

namespace tidemark::cookies {
namespace {

TEST(ShellMatching, NamePatternsMatchInAnyFolderAndPathPatternsTheFullPath) {
  const platform::PathMatcher* shell = platform::ShellPathMatcher();
  ASSERT_NE(shell, nullptr) << "PathMatchSpecA not found in shlwapi.dll";
  const std::tuple<const char*, const char*, const char*, char> cases[] = {
      {"p=*.log", "d:\\other\\deep\\B.LOG", "B.LOG", 'p'}, {"p=*.log", "c:\\temp\\a.txt", "a.txt", ' '},
      // A pattern without a backslash is not tried on the full path.
      {"p=*keep*", "c:\\keep\\a.txt", "a.txt", ' '}, {"p=*.log", "c:\\logs.log\\", "", ' '},
      {"i=c:\\temp\\keep\\*", "c:\\temp\\keep\\", "", 'i'},
      {"i=c:\\temp\\keep\\*", "C:\\Temp\\Keep\\file.txt", "file.txt", 'i'},
      {"i=c:\\temp\\keep\\*", "c:\\temp\\other\\file.txt", "file.txt", ' '},
      {"p=*.bak;*.old", "c:\\a.old", "a.old", 'p'}, {"p=*.bak;*.old", "c:\\a.new", "a.new", ' '},
  };
  for (auto [entry, path, name, expected] : cases) {
    TempProtectList list;
    list.entries = {entry};
    EXPECT_EQ(MatchTempProtect(list, path, name, shell), expected) << entry << " " << path;
  }
}

}  // namespace
}  // namespace tidemark::cookies
