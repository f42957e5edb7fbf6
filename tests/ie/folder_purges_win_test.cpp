// The history folders and UserData purges over scratch folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "ie/ie_purges.h"
#include "ie_store_win.h"
#include "support/purge_fixture_win.h"

namespace tidemark::ie {
namespace {

using Lines = std::vector<std::string>;

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class HistoryFolders : public ::testing::Test {
 protected:
  HistoryFolders() {
    f.ie.IEHistoryFolder = history;
    f.settings.ieVersionMajor = 9;
  }
  // A daily folder, and a weekly one whose index the browser holds open.
  void LayOut() {
    WriteStore(daily, {{"Visited: me@http://a.test/", ""}}, false, f.now);
    WriteStore(weekly, {{":2024010820240115: me@http://b.test/", ""}}, false, f.now);
    f.scratch.Write("History.IE5\\desktop.ini", "[.ShellClassInfo]");
  }
  HANDLE Hold(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr);
  }

  test::PurgeFixture f;
  std::string history = f.scratch / "History.IE5";
  std::string daily = history + "\\MSHist012024010120240102";
  std::string weekly = history + "\\MSHist012024010820240115";
};

TEST_F(HistoryFolders, DailyFoldersGoAndOneHeldByTheBrowserIsResetInstead) {
  struct Case {
    bool allHist;
    Lines lines;
  } cases[] = {
      {true,
       {"       deleted - " + UpperCase(daily) + "\\INDEX.DAT", "       deleted - " + UpperCase(daily),
        "        Locked - " + UpperCase(weekly) + "\\INDEX.DAT",
        "       Index.dat is present  - MSHist012024010820240115",
        "       Cleared Daily History - MSHist012024010820240115", "  Purge 2 History Folders Processed.",
        "  \"I.E. History Folders\" Function Completed."}},
      {false,
       {"       Index.dat is present  - MSHist012024010820240115",
        "       Cleared Daily History - MSHist012024010820240115", "  \"I.E. History Folders\" Function Completed."}},
  };
  for (const Case& c : cases) {
    LayOut();
    f.r.sink.lines.clear();
    f.settings.allHist = c.allHist;
    HANDLE held = Hold(weekly + "\\index.dat");
    IEHistoryFoldersPurge(f.Environment());
    CloseHandle(held);
    // The listing order is the file system's.
    EXPECT_EQ(Sorted(f.Lines()), Sorted(c.lines));
    EXPECT_FALSE(Exists(daily));
    EXPECT_TRUE(UrlsIn(weekly).empty());
    EXPECT_TRUE(Exists(history + "\\desktop.ini"));
    EXPECT_TRUE(f.r.report.ErrorSeen());
    EXPECT_EQ(f.r.report.ErrorLevel(), 0);
  }
}

TEST_F(HistoryFolders, APreviewIsBypassedAndOlderBrowsersAreNotReset) {
  LayOut();
  f.state.previewMode = true;
  IEHistoryFoldersPurge(f.Environment());
  EXPECT_EQ(f.Lines(), Lines{"  \"I.E. History Folders\" Function bypassed for Preview."});
  EXPECT_TRUE(Exists(daily + "\\index.dat"));

  f.r.sink.lines.clear();
  f.state.previewMode = false;
  f.settings.ieVersionMajor = 4;
  HANDLE held = Hold(weekly + "\\index.dat");
  IEHistoryFoldersPurge(f.Environment());
  CloseHandle(held);
  EXPECT_EQ(f.Lines(), (Lines{"       Index.dat is present  - MSHist012024010820240115",
                              "  \"I.E. History Folders\" Function Completed."}));
  EXPECT_EQ(UrlsIn(weekly), Lines{":2024010820240115: me@http://b.test/"});
}

TEST_F(HistoryFolders, ADirectoryLinkIsRemovedAsALinkNeverEntered) {
  SeesALink files;
  files.link = history + "\\MSHistLink";
  test::PurgeFixture g({.files = &files});
  g.ie.IEHistoryFolder = history;
  g.settings.ieVersionMajor = 9;
  g.settings.allHist = true;
  WriteStore(files.link, {{"Visited: me@http://behind.test/", ""}}, false, g.now);
  std::vector<uint8_t> behind = IndexBytes(files.link);
  IEHistoryFoldersPurge(g.Environment());
  // A real folder seen as a link is not one the system can remove as a link.
  EXPECT_EQ(g.Lines(), (Lines{" -Error-4390     " + UpperCase(files.link), "    No History Folders found to delete.",
                              "  \"I.E. History Folders\" Function Completed."}));
  EXPECT_EQ(IndexBytes(files.link), behind);
}

TEST(UserData, TheFolderIsEmptiedAndCounted) {
  test::PurgeFixture f;
  std::string userData = f.scratch / "UserData";
  f.ie.IEUserDataFolder = userData;
  f.ie.IEUserDataFound = true;
  f.scratch.Write("UserData\\index.dat", "index");
  f.scratch.Write("UserData\\AB12CD34\\site[1].xml", "<x/>");
  f.scratch.Write("UserData\\Low\\index.dat", "index");
  f.state.flags.detailReport = false;
  IEUserDataPurge(f.Environment());
  IEUserDataPurge(f.Environment());
  EXPECT_EQ(f.Lines(),
            (Lines{"  \"I.E. UserData\" Function Completed.   5 \"I.E. UserData\" Files/Directories Processed.",
                   "    No \"I.E. UserData\" found to delete.", "  \"I.E. UserData\" Function Completed."}));
  EXPECT_TRUE(Exists(userData));
  EXPECT_FALSE(Exists(userData + "\\AB12CD34"));
}

}  // namespace
}  // namespace tidemark::ie
