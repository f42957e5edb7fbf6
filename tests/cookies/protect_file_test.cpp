#include "cookies/protect_file.h"

#include <gtest/gtest.h>

#include "support/memory_files.h"

namespace tidemark::cookies {
namespace {

using Entries = std::vector<std::string>;

struct CollectedMessages : UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  Entries shown;
};

// Files the system refuses to read refuse their attributes too, as under an
// access error.
struct Files : test::MemoryFileSystem {
  std::optional<uint32_t> Attributes(const std::string& path) override {
    auto attributes = MemoryFileSystem::Attributes(path);
    return attributes && (*attributes & platform::kAttrDirectory || ReadFile(path)) ? attributes : std::nullopt;
  }
};

class ProtectFile : public ::testing::Test {
 protected:
  std::string Content(const std::string& file) { return files.ReadFile(file).value_or("<none>"); }
  // Loads the cookie list, adds an entry and saves it.
  void AddAndSave(const std::string& entry) {
    ProtectList list = LoadCookieProtectList(files, path);
    list.Dirty = AddProtectEntry(list.entries, entry);
    SaveCookieProtectList(list, path, files, messages);
  }
  void AddAndSaveTemp(const std::string& entry) {
    TempProtectList list;
    LoadTempProtectList(list, files, folder);
    files.locked.clear();
    list.Dirty = AddProtectEntry(list.entries, entry);
    SaveTempProtectList(list, files, folder);
    EXPECT_TRUE(list.entries.empty());
  }

  Files files;
  std::string folder = "C:\\Data", path = folder + "\\Tidemark.Dat", temp = folder + "\\tidemark.pit";
  std::string ie = folder + "\\IEcookie.dat", former = folder + "\\IEprMode.dat";
  CollectedMessages messages;
};

TEST_F(ProtectFile, ReadWithAnyLineBreakWithoutBlankLinesAndRewrittenOnlyWhenChanged) {
  files.AddFile(path, "r=b.org\n\r\n  \np=c.net\rp=a.com");
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_EQ(list.entries, (Entries{"p=a.com", "p=c.net", "r=b.org"}));
  EXPECT_EQ(list.Count, 3);
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "r=b.org\n\r\n  \np=c.net\rp=a.com") << "sorting alone writes nothing";
  // An old file loses its header, gains prefixes and is rewritten whole.
  files.AddFile(path, "Protect File for cookies\r\nSite.COM\r\n\r\nr=.Other.org\r\n");
  list = LoadCookieProtectList(files, path);
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "p=site.com\r\nr=.other.org\r\n");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProtectFile, AMissingFileIsAnEmptyListWrittenOnlyOnceChangedOrEnsured) {
  ProtectList list = LoadCookieProtectList(files, path);
  EXPECT_TRUE(list.OpenedOK);
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_FALSE(files.FileExists(path));
  files.AddFolder(folder);
  AddAndSave("p=new.com");
  EXPECT_EQ(Content(path), "p=new.com\r\n");
  std::string sub = folder + "\\Sub\\Tidemark.Dat";
  files.AddFile(ie, "p=kept.com\r\n");
  EnsureProtectListsExist(files, sub, ie);
  EXPECT_EQ(Content(sub), "");
  EXPECT_EQ(Content(ie), "p=kept.com\r\n");
}

TEST_F(ProtectFile, AFileThatCannotBeReadIsNeverOverwrittenNorCreatedAnew) {
  for (bool locked : {true, false}) {
    files.AddFile(path, "p=keep.com\r\n");
    (locked ? files.locked : files.unreadable) = {path};
    EXPECT_FALSE(LoadCookieProtectList(files, path).OpenedOK);
    EnsureProtectListsExist(files, path, ie);
    AddAndSave("p=other.com");
    files.locked.clear();
    files.unreadable.clear();
    EXPECT_EQ(Content(path), "p=keep.com\r\n");
    EXPECT_EQ(Content(ie), "");
  }
  files.AddFile(temp, "p=*.log\r\n");
  files.locked = {temp};
  AddAndSaveTemp("i=*.dat");
  EXPECT_EQ(Content(temp), "p=*.log\r\n");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProtectFile, ASaveGetsPastReadOnlyFilesOrLeavesTheOldListWholeAndSaysSo) {
  files.AddFile(path, "p=old.com\r\n", platform::kAttrReadOnly);
  files.AddFile(path + ".new", "half a list", platform::kAttrReadOnly);
  AddAndSave("p=new.com");
  EXPECT_EQ(Content(path), "p=new.com\r\np=old.com\r\n");
  files.AddFile(temp, "p=*.log\r\n", platform::kAttrReadOnly);
  AddAndSaveTemp("i=*.dat");
  EXPECT_EQ(Content(temp), "i=*.dat\r\np=*.log\r\n");
  EXPECT_TRUE(messages.shown.empty());
  files.writesStopHalfWay = true;
  AddAndSave("p=lost.com");
  EXPECT_EQ(Content(path), "p=new.com\r\np=old.com\r\n");
  EXPECT_FALSE(files.FileExists(path + ".new"));
  EXPECT_EQ(messages.shown, Entries{"Tidemark  -  Message|Unable to save the protect file - " + path +
                                    "\r\nExecution will continue without saving the changes."});
}

TEST_F(ProtectFile, TheFormerProtectedModeListIsFoldedIntoTheIEListOnlyWhenBothCanBeRead) {
  files.AddFile(former, "Protect File\r\nCookie:Me@Site.com/\r\nr=cookie:me@shared.com/\r\n");
  files.AddFile(ie, "r=cookie:me@shared.com/\r\np=cookie:me@ie.com/\r\n");
  EXPECT_TRUE(MergeFormerProtectedModeList(files, folder));
  EXPECT_FALSE(files.FileExists(former));
  EXPECT_EQ(Content(ie), "p=cookie:me@ie.com/\r\np=cookie:me@site.com/\r\nr=cookie:me@shared.com/\r\n");
  EXPECT_FALSE(MergeFormerProtectedModeList(files, folder)) << "nothing to merge";
  for (bool stopHalfWay : {false, true}) {
    files.AddFile(former, "p=cookie:me@site.com/\r\n");
    files.AddFile(ie, "p=cookie:me@ie.com/\r\n");
    files.writesStopHalfWay = stopHalfWay;
    if (!stopHalfWay) files.unreadable = {ie};
    EXPECT_FALSE(MergeFormerProtectedModeList(files, folder));
    files.unreadable.clear();
    files.writesStopHalfWay = false;
    EXPECT_EQ(Content(former), "p=cookie:me@site.com/\r\n");
    EXPECT_EQ(Content(ie), "p=cookie:me@ie.com/\r\n");
  }
}

}  // namespace
}  // namespace tidemark::cookies
