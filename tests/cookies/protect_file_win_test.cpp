#include <windows.h>

#include "cookies/protect_file.h"

#include <gtest/gtest.h>

#include "platform/files_win.h"
#include "support/sandbox_win.h"

namespace tidemark::cookies {
namespace {

using tidemark::test::TempFolder;
using Entries = std::vector<std::string>;

struct CollectedMessages : UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back({caption, text}); }
  std::vector<std::pair<std::string, std::string>> shown;
};

std::string Content(const std::string& path) { return platform::RealFileSystem().ReadFile(path).value_or("<none>"); }
bool Exists(const std::string& path) { return platform::RealFileSystem().FileExists(path); }

// Holds a file open without sharing, so nobody else can read or replace it.
class ExclusiveLock {
 public:
  explicit ExclusiveLock(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~ExclusiveLock() { CloseHandle(handle_); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// A write that stops half-way, as when the machine goes down mid-save.
struct WritesStopHalfWay : platform::Win32FileSystem {
  bool WriteFile(const std::string& path, const std::string& content) override {
    ++writes;
    platform::Win32FileSystem::WriteFile(path, content.substr(0, content.size() / 2));
    SetLastError(ERROR_DISK_FULL);
    return false;
  }
  int writes = 0;
};

class CookieProtectFile : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string path = folder / "Tidemark.Dat";
  platform::FileSystem& files = platform::RealFileSystem();
  CollectedMessages messages;
};

TEST_F(CookieProtectFile, OldFileLosesHeaderAndGainsPrefixesAndIsRewritten) {
  folder.Write("Tidemark.Dat", "Protect File for cookies\r\nSite.COM\r\nr=.Other.org\r\n");
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_TRUE(list.Dirty);
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.entries, (Entries{"p=site.com", "r=.other.org"}));

  SaveCookieProtectList(list, path, files, messages);
  EXPECT_FALSE(list.Dirty);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Content(path), "p=site.com\r\nr=.other.org\r\n");
  EXPECT_FALSE(Exists(path + ".new"));
}

TEST_F(CookieProtectFile, ReadsEveryLineBreakAndSortsWithoutCountingAsChange) {
  folder.Write("Tidemark.Dat", "r=b.org\np=c.net\rp=a.com");
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_FALSE(list.Dirty);
  EXPECT_EQ(list.Count, 3);
  EXPECT_EQ(list.entries, (Entries{"p=a.com", "p=c.net", "r=b.org"}));

  // A clean list is not written back.
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "r=b.org\np=c.net\rp=a.com");
}

TEST_F(CookieProtectFile, BlankLinesAreNoEntries) {
  folder.Write("Tidemark.Dat", "\r\n  \r\n\t\n");
  EXPECT_EQ(LoadCookieProtectList(files, path).Count, 0);
  folder.Write("tidemark.pit", "\r\np=*.log\r\n \r\n");
  TempProtectList temp;
  LoadTempProtectList(temp, files, folder.path());
  EXPECT_EQ(temp.entries, Entries{"p=*.log"});
}

TEST_F(CookieProtectFile, AStaleReadOnlyCopyDoesNotBlockTheSave) {
  folder.Write("Tidemark.Dat.new", "half a list");
  ASSERT_TRUE(files.SetAttributes(path + ".new", platform::kAttrReadOnly));
  ProtectList list = LoadCookieProtectList(files, path);
  AddProtectEntry(list.entries, "p=new.com");
  list.Dirty = true;
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Content(path), "p=new.com\r\n");
  EXPECT_FALSE(Exists(path + ".new"));
}

TEST_F(CookieProtectFile, MissingFileIsAnEmptyListThatSavesWhenChanged) {
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_FALSE(list.Dirty);
  EXPECT_EQ(list.Count, 0);
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_FALSE(Exists(path));

  AddProtectEntry(list.entries, "p=new.com");
  list.Dirty = true;
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "p=new.com\r\n");
}

TEST_F(CookieProtectFile, UnreadableFileIsNeverOverwritten) {
  folder.Write("Tidemark.Dat", "p=keep.com\r\n");
  ProtectList list;
  {
    ExclusiveLock lock(path);
    ASSERT_TRUE(lock.held());
    list = LoadCookieProtectList(files, path);
  }
  EXPECT_FALSE(list.OpenedOK);
  EXPECT_EQ(list.Count, 0);
  EXPECT_TRUE(list.entries.empty());

  AddProtectEntry(list.entries, "p=other.com");
  list.Dirty = true;
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_FALSE(list.Dirty);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Content(path), "p=keep.com\r\n");
}

TEST_F(CookieProtectFile, FileHiddenByAnAccessErrorIsNotTakenForMissing) {
  folder.Write("Tidemark.Dat", "p=keep.com\r\n");
  struct Denied : platform::Win32FileSystem {
    std::optional<uint32_t> Attributes(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ReadFile(const std::string&) override { return std::nullopt; }
    uint32_t LastError() const override { return ERROR_ACCESS_DENIED; }
  } denied;
  ProtectList list = LoadCookieProtectList(denied, path);
  EXPECT_FALSE(list.OpenedOK);

  EnsureProtectListsExist(denied, path, folder / "IEcookie.dat");
  EXPECT_EQ(Content(path), "p=keep.com\r\n");
  EXPECT_FALSE(Exists(folder / "IEcookie.dat"));
}

TEST_F(CookieProtectFile, SaveStoppedMidWriteLeavesTheOldListWhole) {
  folder.Write("Tidemark.Dat", "p=first.com\r\np=second.com\r\n");
  ProtectList list = LoadCookieProtectList(files, path);
  AddProtectEntry(list.entries, "p=third.com");
  list.Dirty = true;

  WritesStopHalfWay failing;
  SaveCookieProtectList(list, path, failing, messages);

  EXPECT_EQ(failing.writes, 2);  // the read-only retry was tried
  EXPECT_EQ(Content(path), "p=first.com\r\np=second.com\r\n");
  EXPECT_FALSE(Exists(path + ".new"));
  EXPECT_FALSE(list.Dirty);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].first, "Tidemark  -  Message");
  EXPECT_EQ(messages.shown[0].second, "Unable to save the protect file - " + path +
                                          "\r\nExecution will continue without saving the changes.");
}

TEST_F(CookieProtectFile, ReadOnlyFileIsReplacedAfterClearingTheFlag) {
  folder.Write("Tidemark.Dat", "p=old.com\r\n");
  ASSERT_TRUE(files.SetAttributes(path, platform::kAttrReadOnly));
  // Windows refuses to replace a read-only file; make sure that happens here too.
  struct RefusesReadOnlyTarget : platform::Win32FileSystem {
    bool RenameFile(const std::string& from, const std::string& to) override {
      auto attributes = platform::Win32FileSystem::Attributes(to);
      if (attributes && (*attributes & platform::kAttrReadOnly)) {
        refused = true;
        return false;
      }
      return platform::Win32FileSystem::RenameFile(from, to);
    }
    bool refused = false;
  } strict;

  ProtectList list = LoadCookieProtectList(strict, path);
  AddProtectEntry(list.entries, "p=new.com");
  list.Dirty = true;
  SaveCookieProtectList(list, path, strict, messages);

  EXPECT_TRUE(strict.refused);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Content(path), "p=new.com\r\np=old.com\r\n");
}

TEST_F(CookieProtectFile, EnsureCreatesMissingFilesAndFolderOnly) {
  std::string dataFolder = folder / "Data\\Sub";
  std::string firefoxPath = dataFolder + "\\Tidemark.Dat";
  std::string iePath = dataFolder + "\\IEcookie.dat";
  EnsureProtectListsExist(files, firefoxPath, iePath);
  EXPECT_EQ(Content(firefoxPath), "");
  EXPECT_EQ(Content(iePath), "");

  folder.Write("Data\\Sub\\IEcookie.dat", "p=kept.com\r\n");
  files.RemoveFile(firefoxPath);
  EnsureProtectListsExist(files, firefoxPath, iePath);
  EXPECT_EQ(Content(firefoxPath), "");
  EXPECT_EQ(Content(iePath), "p=kept.com\r\n");
}

class ProtectedModeMerge : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string formerPath = folder / "IEprMode.dat";
  std::string iePath = folder / "IEcookie.dat";
  platform::FileSystem& files = platform::RealFileSystem();
};

TEST_F(ProtectedModeMerge, FoldsFormerEntriesIntoTheIEListAndDeletesTheFormerFile) {
  folder.Write("IEprMode.dat", "Protect File\r\nCookie:Me@Site.com/\r\nr=cookie:me@shared.com/\r\n");
  folder.Write("IEcookie.dat", "r=cookie:me@shared.com/\r\np=cookie:me@ie.com/\r\n");
  EXPECT_TRUE(MergeFormerProtectedModeList(files, folder.path()));
  EXPECT_FALSE(Exists(formerPath));
  EXPECT_EQ(Content(iePath), "p=cookie:me@ie.com/\r\np=cookie:me@site.com/\r\nr=cookie:me@shared.com/\r\n");
}

TEST_F(ProtectedModeMerge, CreatesTheIEListWhenItIsMissing) {
  folder.Write("IEprMode.dat", "p=cookie:me@site.com/\n");
  EXPECT_TRUE(MergeFormerProtectedModeList(files, folder.path()));
  EXPECT_FALSE(Exists(formerPath));
  EXPECT_EQ(Content(iePath), "p=cookie:me@site.com/\r\n");
}

TEST_F(ProtectedModeMerge, NothingHappensWithoutAFormerFile) {
  EXPECT_FALSE(MergeFormerProtectedModeList(files, folder.path()));
  EXPECT_FALSE(Exists(iePath));
}

TEST_F(ProtectedModeMerge, UnreadableIEListKeepsBothFiles) {
  folder.Write("IEprMode.dat", "p=cookie:me@site.com/\r\n");
  folder.Write("IEcookie.dat", "p=cookie:me@ie.com/\r\n");
  {
    ExclusiveLock lock(iePath);
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(MergeFormerProtectedModeList(files, folder.path()));
  }
  EXPECT_EQ(Content(formerPath), "p=cookie:me@site.com/\r\n");
  EXPECT_EQ(Content(iePath), "p=cookie:me@ie.com/\r\n");
}

TEST_F(ProtectedModeMerge, FailedWriteKeepsTheFormerFile) {
  folder.Write("IEprMode.dat", "p=cookie:me@site.com/\r\n");
  folder.Write("IEcookie.dat", "p=cookie:me@ie.com/\r\n");
  WritesStopHalfWay failing;
  EXPECT_FALSE(MergeFormerProtectedModeList(failing, folder.path()));
  EXPECT_EQ(Content(formerPath), "p=cookie:me@site.com/\r\n");
  EXPECT_EQ(Content(iePath), "p=cookie:me@ie.com/\r\n");
}

}  // namespace
}  // namespace tidemark::cookies
