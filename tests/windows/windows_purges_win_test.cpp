#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <algorithm>

#include "engine/labels.h"
#include "platform/clipboard_win.h"
#include "platform/shell_win.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"
#include "windows/windows_purges.h"

namespace tidemark::windows {
namespace {

using Lines = std::vector<std::string>;

using test::Exists;

TEST(TempFoldersPurge, EmptiesEverySelectedFolderOlderThanTheAgeAndCounts) {
  test::PurgeFixture f;
  EXPECT_EQ(f.Run(TempFoldersPurge), (Lines{" -Error- Temp Folder: not processed - folder could not be located",
                                             "         Please verify your Temp Folders configuration:",
                                             "         Click 'Configue' and select the 'Temp Folders' Tab.",
                                             "         or remove checkmark from 'Temp Folders' option."}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 3);
  std::string first = f.scratch / "one\\TEMP", second = f.scratch / "two\\TEMP";
  test::SetWriteTime(f.scratch.Write("one\\TEMP\\old.tmp", "x"), f.now - 24 * test::kFileTimeHour);
  f.scratch.Write("one\\TEMP\\young.tmp", "x");
  test::SetWriteTime(f.scratch.Write("two\\TEMP\\sub\\old.log", "x"), f.now - 24 * test::kFileTimeHour);
  f.tempFolders.selected = {{"System Temp", first}, {"Old Temp", second}};
  f.state.flags.detailReport = false;
  std::tie(f.settings.ageFilterOn, f.settings.ageHours) = std::pair(true, 8);
  const std::string age = "     Ignore files modified in the last 8 Hours";
  // After the strays ran out of memory nothing is deleted.
  f.state.lowMemory = true;
  EXPECT_EQ(f.Run(TempFoldersPurge),
            (Lines{age, "    No Files/Directories found to delete.", "  Purge \"Temp Folders\" Function Completed."}));
  EXPECT_TRUE(Exists(first + "\\old.tmp"));
  f.state.lowMemory = false;
  EXPECT_EQ(f.Run(TempFoldersPurge),
            (Lines{age, "  Purge \"Temp Folders\" Function Completed. 3 Files/Directories Processed."}));
  EXPECT_TRUE(!Exists(first + "\\old.tmp") && Exists(first + "\\young.tmp"));
  EXPECT_TRUE(!Exists(second + "\\sub") && Exists(second));

  // A temp folder that is a link is not emptied.
  std::string link = std::string(TIDEMARK_LINK_FIXTURE) + "\\rootlink";
  f.tempFolders.selected = {{"BootDisk Temp", link}};
  EXPECT_EQ(f.Run(TempFoldersPurge), (Lines{age, " -Error- Folder is a link, not Processed - " + link,
                                             "    No Files/Directories found to delete.",
                                             "  Purge \"Temp Folders\" Function Completed."}));
  EXPECT_TRUE(Exists(std::string(TIDEMARK_LINK_FIXTURE) + "\\target\\precious.txt"));
  EXPECT_EQ(f.r.report.ErrorLevel(), 7);
}

TEST(RecentLinks, OnlyShortcutsAtTheTopGoHiddenOnesTooAndAMissingFolderIsAnError) {
  test::PurgeFixture f;
  std::string recent = f.scratch / "Recent";
  auto reported = [&](std::string_view label, const std::string& name) {
    return std::string(label) + UpperCase(recent + "\\" + name);
  };
  std::tie(f.ie.RecentFolder, f.ie.RecentFolderFound) = std::pair(recent, true);
  f.scratch.Write("Recent\\desktop.ini", "[.ShellClassInfo]");
  std::string hidden = f.scratch.Write("Recent\\Hidden.LNK", "link");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  f.scratch.Write("Recent\\report.lnk", "link");
  f.scratch.Write("Recent\\sub\\deep.lnk", "link");
  for (std::string_view label : {engine::kToDelete, engine::kDeleted}) {
    f.state.previewMode = label == engine::kToDelete;
    Lines lines = f.Run(RecentLinksBody);
    std::sort(lines.begin(), lines.begin() + std::min<size_t>(2, lines.size()));
    EXPECT_EQ(lines, (Lines{reported(label, "Hidden.LNK"), reported(label, "report.lnk"),
                            "  Purge \"Recent LNKs\" Function Completed.   2 Links Processed."}));
    EXPECT_EQ(Exists(hidden), f.state.previewMode);
  }
  EXPECT_TRUE(Exists(recent + "\\desktop.ini") && Exists(recent + "\\sub\\deep.lnk"));
  f.ie.RecentFolderFound = false;
  EXPECT_EQ(f.Run(RecentLinksBody), Lines{" -Error- Recent LNKs:  not processed as folder could not be located"});
  EXPECT_EQ(f.r.report.ErrorLevel(), 3);
}

TEST(RecycleBinAndClipboardPurges, EmptyBothOrSayTheyCouldNot) {
  // The Recycle Bin under Wine is the Trash of the sandbox's HOME: never touch a real one.
  char data[MAX_PATH] = {};
  if (!GetEnvironmentVariableA("XDG_DATA_HOME", data, sizeof data) || !strstr(data, "/.sandbox/"))
    GTEST_SKIP() << "not in the test sandbox: the Recycle Bin is left alone";
  test::ClipboardLock clipboard;
  test::PurgeFixture f;
  std::string from = f.scratch.Write("trashed.txt", "gone soon") + '\0';
  SHFILEOPSTRUCTA operation{nullptr, FO_DELETE, from.c_str()};
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHQUERYRBINFO bin{sizeof bin};
  ASSERT_TRUE(SHFileOperationA(&operation) == 0 && SHQueryRecycleBinA(nullptr, &bin) == S_OK && bin.i64NumItems > 0);
  ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard());
  ASSERT_TRUE(SetClipboardData(CF_TEXT, GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 1)));  // an empty text
  CloseClipboard();
  EXPECT_EQ(f.Run(RecycleBinPurge), Lines{"  Purge \"Recycle Bin\" Function Completed."});
  EXPECT_EQ(f.Run(ClipboardPurge), Lines{"  \"Clear Windows ClipBoard\" Function Completed."});
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_TRUE(SHQueryRecycleBinA(nullptr, &bin) == S_OK && bin.i64NumItems == 0);
  EXPECT_EQ(f.r.report.ErrorLevel(), 0);

  // An empty bin is no failure; a failing call or a closed clipboard is; a Preview calls neither.
  struct Refusing : platform::Win32Shell, platform::Win32Clipboard {
    std::optional<int32_t> answer;
    std::optional<int32_t> EmptyRecycleBin() override { return answer; }
    bool Clear() override { return false; }
  } refusing;
  const char* const failed = " -Error- \"Purge Recycle Bin\" Function Failed to Complete.";
  const std::tuple<std::optional<int32_t>, bool, void (*)(engine::PurgeEnvironment&), const char*, int> cases[] = {
      {int32_t(0x8000FFFF), false, RecycleBinPurge, "  Purge \"Recycle Bin\" Function Completed.", 0},
      {int32_t(0x80004005), false, RecycleBinPurge, failed, 1},
      {0, false, ClipboardPurge, "*** Error in above Function.", 9},
      {std::nullopt, true, RecycleBinPurge, "  \"Purge Recycle Bin\" Function bypassed for Preview.", 0},
      {0, true, ClipboardPurge, "  \"Clear Windows ClipBoard\" Function bypassed for Preview.", 0}};
  for (const auto& [answer, preview, body, line, level] : cases) {
    refusing.answer = answer;
    test::PurgeFixture g({nullptr, &refusing, &refusing});
    g.state.previewMode = preview;
    EXPECT_EQ(g.Run(body), Lines{line});
    EXPECT_EQ(g.r.report.ErrorLevel(), level);
  }
}

}  // namespace
}  // namespace tidemark::windows
