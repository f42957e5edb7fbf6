#include <windows.h>

#include <gtest/gtest.h>

#include "cookies/protect_file.h"
#include "cookies/temp_protect.h"
#include "support/sandbox_win.h"

namespace tidemark::cookies {
namespace {

using tidemark::test::TempFolder;
using Entries = std::vector<std::string>;

std::string Content(const std::string& path) { return platform::RealFileSystem().ReadFile(path).value_or("<none>"); }

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

class TempProtectFile : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string path = folder / "tidemark.pit";
  platform::FileSystem& files = platform::RealFileSystem();
  TempProtectList list;
};

TEST_F(TempProtectFile, LoadsSortedAndLeavesACleanFileAlone) {
  folder.Write("tidemark.pit", "p=*.log\ni=C:\\Temp\\*\r\n");
  LoadTempProtectList(list, files, folder.path());
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_FALSE(list.Dirty);
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.entries, (Entries{"i=C:\\Temp\\*", "p=*.log"}));

  SaveTempProtectList(list, files, folder.path());
  EXPECT_EQ(Content(path), "p=*.log\ni=C:\\Temp\\*\r\n");
  EXPECT_TRUE(list.entries.empty());
  EXPECT_EQ(list.Count, 0);
}

TEST_F(TempProtectFile, ChangedListIsWrittenEvenOverAReadOnlyFile) {
  folder.Write("tidemark.pit", "p=*.log\r\n");
  ASSERT_TRUE(files.SetAttributes(path, platform::kAttrReadOnly));
  LoadTempProtectList(list, files, folder.path());
  AddProtectEntry(list.entries, "i=*.dat");
  list.Dirty = true;
  SaveTempProtectList(list, files, folder.path());
  EXPECT_EQ(Content(path), "i=*.dat\r\np=*.log\r\n");
  EXPECT_FALSE(list.Dirty);
  EXPECT_TRUE(list.entries.empty());
}

TEST_F(TempProtectFile, MissingFileIsEmptyAndUnreadableFileIsKept) {
  LoadTempProtectList(list, files, folder.path());
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_EQ(list.Count, 0);

  folder.Write("tidemark.pit", "p=*.log\r\n");
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  LoadTempProtectList(list, files, folder.path());
  CloseHandle(lock);
  EXPECT_FALSE(list.OpenedOK);
  EXPECT_EQ(list.Count, 0);

  AddProtectEntry(list.entries, "i=*.dat");
  list.Dirty = true;
  SaveTempProtectList(list, files, folder.path());
  EXPECT_EQ(Content(path), "p=*.log\r\n");
  EXPECT_TRUE(list.entries.empty());
}

}  // namespace
}  // namespace tidemark::cookies
