#include "cookies/protect_file.h"

#include <gtest/gtest.h>

#include "support/memory_files.h"

namespace tidemark::cookies {
namespace {

using Entries = std::vector<std::string>;

struct CollectedMessages : UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back({caption, text}); }
  std::vector<std::pair<std::string, std::string>> shown;
};

// A write that stops half-way, as when the machine goes down mid-save.
struct WritesStopHalfWay : test::MemoryFileSystem {
  bool WriteFile(const std::string& path, const std::string& content) override {
    MemoryFileSystem::WriteFile(path, content.substr(0, content.size() / 2));
    return false;
  }
};

class ProtectFile : public ::testing::Test {
 protected:
  std::string Content(const std::string& path) { return files.ReadFile(path).value_or("<none>"); }
  ProtectList Changed(ProtectList list, const std::string& entry) {
    AddProtectEntry(list.entries, entry);
    list.Dirty = true;
    return list;
  }

  test::MemoryFileSystem files;
  std::string folder = "C:\\Data";
  std::string path = folder + "\\Tidemark.Dat";
  CollectedMessages messages;
};

TEST_F(ProtectFile, OldFileLosesHeaderAndGainsPrefixesAndIsRewrittenWhole) {
  files.AddFile(path, "Protect File for cookies\r\nSite.COM\r\n\r\nr=.Other.org\r\n");
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_TRUE(list.Dirty);
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.entries, (Entries{"p=site.com", "r=.other.org"}));
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_FALSE(list.Dirty);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Content(path), "p=site.com\r\nr=.other.org\r\n");
  EXPECT_FALSE(files.FileExists(path + ".new"));
}

TEST_F(ProtectFile, EveryLineBreakIsReadAndSortingAloneWritesNothing) {
  files.AddFile(path, "r=b.org\np=c.net\rp=a.com");
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_FALSE(list.Dirty);
  EXPECT_EQ(list.entries, (Entries{"p=a.com", "p=c.net", "r=b.org"}));
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "r=b.org\np=c.net\rp=a.com");
}

TEST_F(ProtectFile, BlankLinesAreNoEntries) {
  files.AddFile(path, "\r\n  \r\n\t\n");
  EXPECT_EQ(LoadCookieProtectList(files, path).Count, 0);
  files.AddFile(folder + "\\tidemark.pit", "\r\np=*.log\r\n \r\n");
  TempProtectList temp;
  LoadTempProtectList(temp, files, folder);
  EXPECT_EQ(temp.entries, Entries{"p=*.log"});
}

TEST_F(ProtectFile, AMissingFileIsAnEmptyListWrittenOnlyOnceChanged) {
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_TRUE(list.OpenedOK);
  EXPECT_EQ(list.Count, 0);
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_FALSE(files.FileExists(path));
  files.AddFolder(folder);
  list = Changed(list, "p=new.com");
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "p=new.com\r\n");
}

TEST_F(ProtectFile, AFileThatCannotBeReadIsNeverOverwritten) {
  for (bool locked : {true, false}) {
    files.AddFile(path, "p=keep.com\r\n");
    (locked ? files.locked : files.unreadable) = {path};
    ProtectList list = LoadCookieProtectList(files, path);
    EXPECT_FALSE(list.OpenedOK);
    EXPECT_TRUE(list.entries.empty());
    files.locked.clear();
    files.unreadable.clear();
    list = Changed(list, "p=other.com");
    SaveCookieProtectList(list, path, files, messages);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Content(path), "p=keep.com\r\n");
    // Nor is it taken for a missing one and created anew.
    files.unreadable = {path};
    EnsureProtectListsExist(files, path, folder + "\\IEcookie.dat");
    files.unreadable.clear();
    EXPECT_EQ(Content(path), "p=keep.com\r\n");
    EXPECT_EQ(Content(folder + "\\IEcookie.dat"), "");
  }
  std::string temp = folder + "\\tidemark.pit";
  files.AddFile(temp, "p=*.log\r\n");
  files.locked = {temp};
  TempProtectList list;
  LoadTempProtectList(list, files, folder);
  files.locked.clear();
  EXPECT_FALSE(list.OpenedOK);
  AddProtectEntry(list.entries, "i=*.dat");
  list.Dirty = true;
  SaveTempProtectList(list, files, folder);
  EXPECT_EQ(Content(temp), "p=*.log\r\n");
}

TEST_F(ProtectFile, ASaveStoppedMidWriteLeavesTheOldListWholeAndSaysSo) {
  WritesStopHalfWay failing;
  failing.AddFile(path, "p=old.com\r\n");
  ProtectList list = Changed(LoadCookieProtectList(failing, path), "p=new.com");
  SaveCookieProtectList(list, path, failing, messages);
  EXPECT_EQ(failing.ReadFile(path), "p=old.com\r\n");
  EXPECT_FALSE(failing.FileExists(path + ".new"));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], (std::pair<std::string, std::string>{
                                   "Tidemark  -  Message", "Unable to save the protect file - " + path +
                                                               "\r\nExecution will continue without saving the changes."}));
}

TEST_F(ProtectFile, ReadOnlyFilesAndAStaleReadOnlyCopyDoNotBlockTheSave) {
  files.AddFile(path, "p=old.com\r\n", platform::kAttrReadOnly);
  files.AddFile(path + ".new", "half a list", platform::kAttrReadOnly);
  ProtectList cookies = Changed(LoadCookieProtectList(files, path), "p=new.com");
  SaveCookieProtectList(cookies, path, files, messages);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Content(path), "p=new.com\r\np=old.com\r\n");
  EXPECT_FALSE(files.FileExists(path + ".new"));

  std::string temp = folder + "\\tidemark.pit";
  files.AddFile(temp, "p=*.log\r\n", platform::kAttrReadOnly);
  TempProtectList list;
  LoadTempProtectList(list, files, folder);
  AddProtectEntry(list.entries, "i=*.dat");
  list.Dirty = true;
  SaveTempProtectList(list, files, folder);
  EXPECT_EQ(Content(temp), "i=*.dat\r\np=*.log\r\n");
  EXPECT_TRUE(list.entries.empty());
}

TEST_F(ProtectFile, EnsureCreatesOnlyMissingFilesWithTheirFolder) {
  std::string firefoxPath = folder + "\\Sub\\Tidemark.Dat", iePath = folder + "\\Sub\\IEcookie.dat";
  files.AddFile(iePath, "p=kept.com\r\n");
  EnsureProtectListsExist(files, firefoxPath, iePath);
  EXPECT_EQ(Content(firefoxPath), "");
  EXPECT_EQ(Content(iePath), "p=kept.com\r\n");
}

class ProtectedModeMerge : public ProtectFile {
 protected:
  std::string former = folder + "\\IEprMode.dat", ie = folder + "\\IEcookie.dat";
};

TEST_F(ProtectedModeMerge, FoldsTheFormerListIntoTheIEListOrCreatesIt) {
  files.AddFile(former, "Protect File\r\nCookie:Me@Site.com/\r\nr=cookie:me@shared.com/\r\n");
  files.AddFile(ie, "r=cookie:me@shared.com/\r\np=cookie:me@ie.com/\r\n");
  EXPECT_TRUE(MergeFormerProtectedModeList(files, folder));
  EXPECT_FALSE(files.FileExists(former));
  EXPECT_EQ(Content(ie), "p=cookie:me@ie.com/\r\np=cookie:me@site.com/\r\nr=cookie:me@shared.com/\r\n");

  files.RemoveFile(ie);
  files.AddFile(former, "p=cookie:me@site.com/\n");
  EXPECT_TRUE(MergeFormerProtectedModeList(files, folder));
  EXPECT_EQ(Content(ie), "p=cookie:me@site.com/\r\n");
  EXPECT_FALSE(MergeFormerProtectedModeList(files, folder)) << "nothing to merge";
}

TEST_F(ProtectedModeMerge, AnUnreadableListOrAFailedWriteKeepsBothFiles) {
  WritesStopHalfWay failing;
  for (test::MemoryFileSystem* system : {&files, static_cast<test::MemoryFileSystem*>(&failing)}) {
    system->AddFile(former, "p=cookie:me@site.com/\r\n");
    system->AddFile(ie, "p=cookie:me@ie.com/\r\n");
    if (system == &files) files.unreadable = {ie};
    EXPECT_FALSE(MergeFormerProtectedModeList(*system, folder));
    files.unreadable.clear();
    EXPECT_EQ(system->ReadFile(former), "p=cookie:me@site.com/\r\n");
    EXPECT_EQ(system->ReadFile(ie), "p=cookie:me@ie.com/\r\n");
  }
}

}  // namespace
}  // namespace tidemark::cookies
