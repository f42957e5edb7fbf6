#include "windows/windows_purges.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/labels.h"
#include "platform/clipboard_win.h"
#include "platform/shell_win.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"

namespace tidemark::windows {
namespace {

using Lines = std::vector<std::string>;

bool Exists(const std::string& path) { return platform::RealFileSystem().Attributes(path).has_value(); }

TEST(TempFoldersPurge, EmptiesEverySelectedFolderOlderThanTheAgeAndCounts) {
  test::PurgeFixture f;
  std::string first = f.scratch / "one\\TEMP", second = f.scratch / "two\\TEMP";
  test::SetWriteTime(f.scratch.Write("one\\TEMP\\old.tmp", "x"), f.now - 24 * test::kFileTimeHour);
  f.scratch.Write("one\\TEMP\\young.tmp", "x");
  test::SetWriteTime(f.scratch.Write("two\\TEMP\\sub\\old.log", "x"), f.now - 24 * test::kFileTimeHour);
  f.tempFolders.selected = {{"System Temp", first}, {"Old Temp", second}};
  f.state.flags.detailReport = false;

  // After the strays ran out of memory nothing is deleted.
  f.state.lowMemory = true;
  TempFoldersPurge(f.Environment());
  EXPECT_TRUE(Exists(first + "\\old.tmp"));
  f.state.lowMemory = false;
  f.settings.ageFilterOn = true;
  f.settings.ageHours = 8;
  TempFoldersPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"    No Files/Directories found to delete.",
                              "  Purge \"Temp Folders\" Function Completed.",
                              "     Ignore files modified in the last 8 Hours",
                              "  Purge \"Temp Folders\" Function Completed. 3 Files/Directories Processed."}));
  EXPECT_FALSE(Exists(first + "\\old.tmp"));
  EXPECT_TRUE(Exists(first + "\\young.tmp"));
  EXPECT_FALSE(Exists(second + "\\sub"));
  EXPECT_TRUE(Exists(second));
}

TEST(TempFoldersPurge, NoUsableFolderIsAnError) {
  test::PurgeFixture f;
  TempFoldersPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{" -Error- Temp Folder: not processed - folder could not be located",
                              "         Please verify your Temp Folders configuration:",
                              "         Click 'Configue' and select the 'Temp Folders' Tab.",
                              "         or remove checkmark from 'Temp Folders' option."}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 3);
}

class RecentLinks : public ::testing::Test {
 protected:
  RecentLinks() {
    f.ie.RecentFolder = recent;
    f.ie.RecentFolderFound = true;
  }
  std::string Reported(const std::string& name) const { return UpperCase(recent + "\\" + name); }

  test::PurgeFixture f;
  std::string recent = f.scratch / "Recent";
};

TEST_F(RecentLinks, OnlyShortcutsAtTheTopGoHiddenOnesToo) {
  std::string hidden = f.scratch.Write("Recent\\Hidden.LNK", "link");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  f.scratch.Write("Recent\\report.lnk", "link");
  f.scratch.Write("Recent\\desktop.ini", "[.ShellClassInfo]");
  f.scratch.Write("Recent\\sub\\deep.lnk", "link");

  f.state.previewMode = true;
  RecentLinksBody(f.Environment());
  EXPECT_TRUE(Exists(hidden));
  f.state.previewMode = false;
  RecentLinksBody(f.Environment());

  std::string toDelete(engine::kToDelete), deleted(engine::kDeleted);
  Lines lines = f.Lines();
  std::sort(lines.begin(), lines.begin() + 2);
  std::sort(lines.begin() + 3, lines.begin() + 5);
  EXPECT_EQ(lines, (Lines{toDelete + Reported("Hidden.LNK"), toDelete + Reported("report.lnk"),
                          "  Purge \"Recent LNKs\" Function Completed.   2 Links Processed.",
                          deleted + Reported("Hidden.LNK"), deleted + Reported("report.lnk"),
                          "  Purge \"Recent LNKs\" Function Completed.   2 Links Processed."}));
  EXPECT_FALSE(Exists(hidden));
  EXPECT_TRUE(Exists(recent + "\\desktop.ini"));
  EXPECT_TRUE(Exists(recent + "\\sub\\deep.lnk"));
}

TEST_F(RecentLinks, EmptyLockedAndMissingFolders) {
  f.scratch.Write("Recent\\desktop.ini", "");
  RecentLinksBody(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"    No Links found to delete.", "  Purge \"Recent LNKs\" Function Completed."}));

  f.r.sink.lines.clear();
  std::string busy = f.scratch.Write("Recent\\busy.lnk", "link");
  HANDLE held = CreateFileA(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  RecentLinksBody(f.Environment());
  CloseHandle(held);
  EXPECT_EQ(f.Lines().front(), std::string(engine::kLocked) + Reported("busy.lnk"));
  EXPECT_TRUE(f.r.report.ErrorSeen());

  f.r.sink.lines.clear();
  f.ie.RecentFolderFound = false;
  RecentLinksBody(f.Environment());
  EXPECT_EQ(f.Lines(), Lines{" -Error- Recent LNKs:  not processed as folder could not be located"});
  EXPECT_EQ(f.r.report.ErrorLevel(), 3);
}

// The Recycle Bin under Wine is the Trash of the sandbox's HOME: never touch a real one.
bool InSandbox() {
  char data[MAX_PATH] = {};
  return GetEnvironmentVariableA("XDG_DATA_HOME", data, sizeof data) &&
         std::string(data).find("/.sandbox/") != std::string::npos;
}

class FailingShell : public platform::Win32Shell {
 public:
  std::optional<int32_t> EmptyRecycleBin() override { return answer; }
  std::optional<int32_t> answer;
};

TEST(RecycleBinPurge, EmptiesTheBinAndReportsFailure) {
  if (!InSandbox()) GTEST_SKIP() << "not in the test sandbox: the Recycle Bin is left alone";
  test::PurgeFixture f;
  std::string from = f.scratch.Write("trashed.txt", "gone soon") + '\0';
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  ASSERT_EQ(SHFileOperationA(&operation), 0);
  SHQUERYRBINFO bin{sizeof bin};
  ASSERT_EQ(SHQueryRecycleBinA(nullptr, &bin), S_OK);
  ASSERT_GT(bin.i64NumItems, 0);

  f.state.previewMode = true;
  RecycleBinPurge(f.Environment());
  f.state.previewMode = false;
  RecycleBinPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"  \"Purge Recycle Bin\" Function bypassed for Preview.",
                              "  Purge \"Recycle Bin\" Function Completed."}));
  ASSERT_EQ(SHQueryRecycleBinA(nullptr, &bin), S_OK);
  EXPECT_EQ(bin.i64NumItems, 0);
  EXPECT_EQ(f.r.report.ErrorLevel(), 0);

  // An empty bin is no failure; a failing call or a missing function is.
  const char* const failed = " -Error- \"Purge Recycle Bin\" Function Failed to Complete.";
  const struct {
    std::optional<int32_t> answer;
    const char* line;
    int level;
  } cases[] = {{int32_t(0x8000FFFF), "  Purge \"Recycle Bin\" Function Completed.", 0},
               {int32_t(0x80004005), failed, 1},
               {std::nullopt, failed, 1}};
  for (const auto& c : cases) {
    FailingShell shell;
    shell.answer = c.answer;
    test::PurgeFixture g({nullptr, &shell});
    RecycleBinPurge(g.Environment());
    EXPECT_EQ(g.Lines(), Lines{c.line});
    EXPECT_EQ(g.r.report.ErrorLevel(), c.level);
  }
}

TEST(ClipboardPurge, ClearsTheClipboardOrSaysItCouldNot) {
  test::ClipboardLock clipboard;
  test::PurgeFixture f;
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 9);
  memcpy(GlobalLock(memory), "a secret", 9);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();

  f.state.previewMode = true;
  ClipboardPurge(f.Environment());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  f.state.previewMode = false;
  ClipboardPurge(f.Environment());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(f.Lines(), (Lines{"  \"Clear Windows ClipBoard\" Function bypassed for Preview.",
                              "  \"Clear Windows ClipBoard\" Function Completed."}));

  struct Unopenable : platform::Win32Clipboard {
    bool Clear() override { return false; }
  } unopenable;
  test::PurgeFixture g({nullptr, nullptr, &unopenable});
  ClipboardPurge(g.Environment());
  EXPECT_EQ(g.Lines(), Lines{"*** Error in above Function."});
  EXPECT_EQ(g.r.report.ErrorLevel(), 9);
}

}  // namespace
}  // namespace tidemark::windows
