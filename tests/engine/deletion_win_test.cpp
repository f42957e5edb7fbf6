#include "engine/deletion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "engine/labels.h"
#include "platform/files_win.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"

namespace tidemark::engine {
namespace {

using Lines = std::vector<std::string>;

// Holds a file open without sharing, as a program that uses it would.
class HeldOpen {
 public:
  explicit HeldOpen(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldOpen() { CloseHandle(handle_); }
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class Deletion : public ::testing::Test {
 protected:
  explicit Deletion(test::PurgePlatformChoice choice = {}) : f(choice) {}

  std::string Write(const std::string& relative, const std::string& content = "data") {
    return f.scratch.Write("purge\\" + relative, content);
  }
  std::string Reported(const std::string& relative) const { return UpperCase(root + "\\" + relative); }
  bool Exists(const std::string& relative) const {
    return platform::RealFileSystem().Attributes(root + "\\" + relative).has_value();
  }
  DeletionEngine& Purge() {
    DeletionEngine& deletion = f.Environment().deletion;
    deletion.DeleteFolderContents(root, "*.*", true);
    return deletion;
  }

  test::PurgeFixture f;
  std::string root = f.scratch / "purge";
};

TEST_F(Deletion, NestedFoldersGoInDetailAndSummaryAlikeButTheFolderStays) {
  Write("a.txt");
  Write("sub\\b.txt");
  Write("sub\\deeper\\c.txt");
  EXPECT_EQ(Purge().ItemsProcessed, 5);
  std::string deleted(kDeleted);
  EXPECT_EQ(f.Lines(), (Lines{deleted + Reported("a.txt"), deleted + Reported("sub\\b.txt"),
                              deleted + Reported("sub\\deeper\\c.txt"), deleted + Reported("sub\\deeper"),
                              deleted + Reported("sub")}));
  EXPECT_TRUE(platform::RealFileSystem().FolderExists(root));
  EXPECT_FALSE(Exists("sub"));

  Write("d.txt");
  Write("sub\\e.txt");
  f.r.sink.lines.clear();
  f.state.flags.detailReport = false;
  Purge();
  EXPECT_EQ(f.Lines(), Lines{});
  EXPECT_FALSE(Exists("sub"));
  EXPECT_FALSE(Exists("d.txt"));
}

TEST_F(Deletion, PreviewListsAndTouchesNothing) {
  f.protect.entries = {"i=*.log"};
  Write("a.txt");
  Write("b.log");
  Write("sub\\c.txt");
  f.state.previewMode = true;
  EXPECT_EQ(Purge().ItemsProcessed, 4);
  std::string toDelete(kToDelete);
  EXPECT_EQ(Sorted(f.Lines()), Sorted({toDelete + Reported("a.txt"), std::string(kIgnoreErrors) + Reported("b.log"),
                                       toDelete + Reported("sub\\c.txt"), toDelete + Reported("sub")}));
  for (const char* name : {"a.txt", "b.log", "sub\\c.txt"}) EXPECT_TRUE(Exists(name)) << name;
}

TEST_F(Deletion, ProtectedItemsStayAndIgnoredFailuresAreNoErrors) {
  // "i=" sorts first; the protection of keep.tmp must hold all the same.
  f.protect.entries = {"i=*.tmp", "p=*\\kept\\", "p=keep.tmp"};
  Write("keep.tmp");
  Write("other.tmp");
  Write("kept\\inside.txt");
  HeldOpen busy(Write("busy.tmp"));
  ASSERT_TRUE(busy.held());
  EXPECT_EQ(Purge().ItemsProcessed, 2);
  EXPECT_EQ(Sorted(f.Lines()), Sorted({std::string(kProtected) + Reported("keep.tmp"),
                                       std::string(kDeleted) + Reported("other.tmp"),
                                       std::string(kIgnoreLocked) + Reported("busy.tmp"),
                                       std::string(kProtected) + Reported("kept")}));
  EXPECT_TRUE(Exists("keep.tmp"));
  EXPECT_TRUE(Exists("kept\\inside.txt"));
  EXPECT_FALSE(f.state.lockedFileSeen);
  EXPECT_EQ(f.r.report.ErrorLevel(), 0);
}

TEST_F(Deletion, LockedFilesAreReportedEvenInSummaryAndReadOnlyFilesGo) {
  f.state.flags.detailReport = false;
  std::string readOnly = Write("ro.txt");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    HeldOpen locked(Write("locked.txt", "in use"));
    HeldOpen lockedInside(Write("sub\\held.txt"));
    Purge();
  }
  EXPECT_EQ(Sorted(f.Lines()),
            Sorted({std::string(kLocked) + Reported("locked.txt"), std::string(kLocked) + Reported("sub\\held.txt"),
                    std::string(kDirNotEmpty) + Reported("sub")}));
  EXPECT_FALSE(Exists("ro.txt"));
  EXPECT_EQ(platform::RealFileSystem().ReadFile(root + "\\locked.txt"), "in use");
  EXPECT_TRUE(f.state.lockedFileSeen);
}

TEST_F(Deletion, TheAgeFilterKeepsYoungFilesAndHidesTheirFolder) {
  f.settings.ageFilterOn = true;
  f.settings.ageHours = 8;
  ASSERT_TRUE(test::SetWriteTime(Write("old.txt"), f.now - 48 * test::kFileTimeHour));
  ASSERT_TRUE(test::SetWriteTime(Write("just-old.txt"), f.now - 8 * test::kFileTimeHour - test::kFileTimeHour / 10));
  ASSERT_TRUE(test::SetWriteTime(Write("nearly.txt"), f.now - 8 * test::kFileTimeHour + test::kFileTimeHour / 10));
  Write("young\\new.txt");

  f.state.previewMode = true;
  Purge();
  EXPECT_EQ(Sorted(f.Lines()), Sorted({std::string(kToDelete) + Reported("old.txt"),
                                       std::string(kToDelete) + Reported("just-old.txt")}));
  f.r.sink.lines.clear();
  f.state.previewMode = false;
  EXPECT_EQ(Purge().ItemsProcessed, 2);
  EXPECT_EQ(f.Lines().size(), 2u);
  EXPECT_FALSE(Exists("old.txt"));
  EXPECT_TRUE(Exists("nearly.txt"));
  EXPECT_TRUE(Exists("young\\new.txt"));
  EXPECT_EQ(f.r.report.ErrorLevel(), 0);
}

TEST_F(Deletion, CancelStopsTheWalk) {
  for (int i = 0; i < 30; ++i) Write("file" + std::to_string(i) + ".txt");
  int pumps = 0;
  f.r.pump.onPump = [&] {
    if (++pumps == 5) f.state.cancelRequested = true;
  };
  Purge();
  EXPECT_EQ(f.Lines(), Lines{"*** Cancelled by operator."});
  int left = 0;
  platform::RealFileSystem().ListFolder(root, [&](const platform::DirEntry&) { return ++left, true; });
  EXPECT_EQ(left, 30);
}

TEST_F(Deletion, ADirectoryLinkIsNeverEntered) {
  std::string fixture = TIDEMARK_LINK_FIXTURE;
  auto& files = platform::RealFileSystem();
  if (!files.FolderExists(fixture + "\\purged\\link")) GTEST_SKIP() << "no link fixture at " << fixture;
  std::string purged = fixture + "\\purged";
  files.WriteFile(purged + "\\loose.txt", "x");
  DeletionEngine& deletion = f.Environment().deletion;
  deletion.DeleteFolderContents(purged, "*.*", false);
  EXPECT_FALSE(files.FileExists(purged + "\\loose.txt"));
  EXPECT_EQ(files.ReadFile(fixture + "\\target\\precious.txt"), "keep me");
  // Under Wine the link cannot be opened as itself, so it stays and is reported.
  if (files.FolderExists(purged + "\\link")) {
    EXPECT_EQ(f.Lines().back(), " -Error-4390     " + UpperCase(purged + "\\link"));
  }
}

TEST_F(Deletion, RelativePathsAndDriveRootsAreRefused) {
  PurgeEnvironment& env = f.Environment();
  env.deletion.DeleteFolderContents("relative\\dir", "*.*", false);
  env.deletion.DeleteFolderContents("C:\\", "*.*", false);
  EXPECT_EQ(f.Lines(), (Lines{" -Error-161      relative\\dir", " -Error-161      C:\\"}));
  EXPECT_FALSE(env.deletion.DeleteOrShredFile("file.txt", ""));
  EXPECT_EQ(env.deletion.LastDeleteError, 161u);
  EXPECT_EQ(f.r.report.ErrorLevel(), 3);
}

TEST_F(Deletion, AFileOnlyItsShortNameReachesIsDeleted) {
  // The long path is beyond what the "A" calls accept; the 8.3 one is not.
  std::string folder = f.scratch / std::string(120, 'f');
  std::string longName(150, 'n');
  std::wstring wide = L"\\\\?\\" + std::wstring(folder.begin(), folder.end());
  ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
  wide += L"\\" + std::wstring(longName.begin(), longName.end());
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  std::string shortName;
  platform::RealFileSystem().ListFolder(folder, [&](const platform::DirEntry& entry) {
    shortName = entry.shortName;
    return false;
  });
  if (shortName.empty()) GTEST_SKIP() << "no 8.3 names on this volume";
  DeletionEngine& deletion = f.Environment().deletion;
  EXPECT_TRUE(deletion.DeleteOrShredFile(folder + "\\" + longName, shortName));
  EXPECT_EQ(deletion.LastDeleteError, 0u);
  EXPECT_FALSE(platform::RealFileSystem().FileExists(folder + "\\" + shortName));
}

TEST(DeletionLabel, EveryCodeWithAndWithoutAnIgnoreEntry) {
  struct Case {
    uint32_t code;
    char answer;
    std::string_view label;
    int level;
    bool locked;
  };
  const Case cases[] = {
      {0, ' ', kDeleted, 0, false},         {145, ' ', kDirNotEmpty, 0, false},
      {32, ' ', kLocked, 0, true},          {33, 'i', kIgnoreLocked, 0, false},
      {1224, ' ', kLocked, 0, true},        {2, ' ', kFileNotFound, 3, false},
      {3, 'i', kPathNotFound, 3, false},    {5, ' ', kAccessDenied, 3, false},
      {5, 'i', kIgnoreDenied, 0, false},    {87, ' ', " -Error-87       ", 3, false},
      {1234567, ' ', " -Error-1234567  ", 3, false},
  };
  for (const Case& c : cases) {
    test::PurgeFixture f;
    DeletionEngine& deletion = f.Environment().deletion;
    deletion.LastProtectAnswer = c.answer;
    EXPECT_EQ(deletion.DeletionLabel(c.code), c.label) << c.code;
    EXPECT_EQ(f.r.report.ErrorLevel(), c.level) << c.code;
    EXPECT_EQ(f.state.lockedFileSeen, c.locked) << c.code;
  }
}

TEST(DeleteDataFile, EveryOutcomeHasItsLineEvenInSummary) {
  test::PurgeFixture f;
  f.state.flags.detailReport = false;
  std::string present = f.scratch.Write("places.sqlite", "x");
  std::string locked = f.scratch.Write("cookies.sqlite", "x");
  std::string missing = f.scratch / "formhistory.sqlite";
  HeldOpen held(locked);
  DeletionEngine& deletion = f.Environment().deletion;
  EXPECT_FALSE(deletion.DeleteDataFile("  File not found - History.dat"));
  EXPECT_FALSE(deletion.DeleteDataFile(missing));
  f.state.previewMode = true;
  EXPECT_TRUE(deletion.DeleteDataFile(present));
  f.state.previewMode = false;
  EXPECT_TRUE(deletion.DeleteDataFile(present));
  EXPECT_FALSE(deletion.DeleteDataFile(locked));
  EXPECT_EQ(f.Lines(), (Lines{"    This file is not currently defined...", std::string(kFileNotFound) + missing,
                              std::string(kToDelete) + present, std::string(kDeleted) + present,
                              std::string(kLocked) + locked}));
  EXPECT_FALSE(platform::RealFileSystem().FileExists(present));
  EXPECT_TRUE(f.r.report.ErrorSeen());
}

// Records what every overwrite pass writes, and can make a write fail as on a
// full disk; everything else is the real file system.
class RecordingFileSystem : public platform::Win32FileSystem {
 public:
  std::unique_ptr<platform::ExclusiveFile> OpenExclusive(const std::string& path,
                                                         platform::ExclusiveAccess access) override {
    auto file = Win32FileSystem::OpenExclusive(path, access);
    if (!file || access != platform::ExclusiveAccess::ReadWrite) return file;
    passes.emplace_back();
    return std::make_unique<Recorder>(std::move(file), passes.back(), failAfterBytes);
  }
  std::optional<platform::VolumeInfo> VolumeOf(const std::string& root) override {
    return volume ? volume : Win32FileSystem::VolumeOf(root);
  }

  std::deque<std::string> passes;
  std::optional<size_t> failAfterBytes;
  std::optional<platform::VolumeInfo> volume;

 private:
  class Recorder : public platform::ExclusiveFile {
   public:
    Recorder(std::unique_ptr<platform::ExclusiveFile> file, std::string& pass, std::optional<size_t> failAfter)
        : file_(std::move(file)), pass_(pass), failAfter_(failAfter) {}
    const platform::FileIdentity& Identity() const override { return file_->Identity(); }
    bool Write(const void* data, size_t size) override {
      if (failAfter_ && pass_.size() + size > *failAfter_) {
        error_ = ERROR_DISK_FULL;
        return false;
      }
      pass_.append(static_cast<const char*>(data), size);
      return file_->Write(data, size);
    }
    bool SeekToStart() override { return file_->SeekToStart(); }
    uint32_t LastError() const override { return error_ ? error_ : file_->LastError(); }

   private:
    std::unique_ptr<platform::ExclusiveFile> file_;
    std::string& pass_;
    std::optional<size_t> failAfter_;
    uint32_t error_ = 0;
  };
};

class Shredding : public Deletion {
 protected:
  Shredding() : Deletion({&files}) { f.state.flags.secureErase = true; }

  // Shreds one file with the given settings; the passes it wrote.
  std::deque<std::string>& Shred(const std::string& path, char mode, int repeats = 1) {
    f.settings.shredMode = mode;
    f.settings.repeats = repeats;
    DeletionEngine& deletion = f.Environment().deletion;
    shredded = deletion.DeleteOrShredFile(path, "");
    error = deletion.LastDeleteError;
    cluster = f.shred.clusterSize;
    return files.passes;
  }
  bool ScratchLeft() {
    bool found = false;
    files.ListFolder(root, [&](const platform::DirEntry& entry) { return !(found = StartsWith(entry.name, "_Saltpan_")); });
    return found;
  }
  static std::string Complement(const std::string& bytes) {
    std::string result = bytes;
    for (char& c : result) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    return result;
  }

  RecordingFileSystem files;
  bool shredded = false;
  uint32_t error = 0;
  uint32_t cluster = 0;
};

TEST_F(Shredding, QuickShredGrowsAOneByteFileToOneClusterOfZeros) {
  std::string path = Write("one.bin", "x");
  auto& passes = Shred(path, '0');
  ASSERT_TRUE(shredded);
  ASSERT_GE(cluster, 512u);
  EXPECT_EQ(passes, std::deque<std::string>{std::string(cluster, '\0')});
  EXPECT_FALSE(platform::RealFileSystem().FileExists(path));
  EXPECT_FALSE(ScratchLeft());
}

TEST_F(Shredding, ThoroughPassesCycleWithFreshDataEveryThree) {
  auto& five = Shred(Write("five.bin", std::string(5000, 'x')), '1', 5);
  ASSERT_TRUE(shredded);
  ASSERT_EQ(five.size(), 5u);
  EXPECT_EQ(five[0].size(), (5000 + cluster - 1) / cluster * cluster);
  EXPECT_EQ(five[1], Complement(five[0]));
  EXPECT_NE(five[2], five[0]);
  EXPECT_NE(five[3], five[0]);  // fresh data
  EXPECT_EQ(five[4], Complement(five[3]));
  EXPECT_TRUE(std::none_of(five[0].begin(), five[0].end(), [](char c) { return c == '\xff'; }));

  files.passes.clear();
  auto& four = Shred(Write("four.bin", "x"), '1', 4);
  ASSERT_EQ(four.size(), 4u);
  EXPECT_EQ(four[3], four[0]);  // no fresh data for a single last pass

  files.passes.clear();
  auto& both = Shred(Write("both.bin", "x"), '2', 1);
  ASSERT_EQ(both.size(), 2u);
  EXPECT_NE(both[0], std::string(cluster, '\0'));
  EXPECT_EQ(both[1], std::string(cluster, '\0'));
  EXPECT_FALSE(ScratchLeft());
}

TEST_F(Shredding, AnEmptyFileIsNotOverwrittenButGoes) {
  std::string path = Write("empty.bin", "");
  auto& passes = Shred(path, '2', 2);
  EXPECT_TRUE(shredded);
  EXPECT_TRUE(std::all_of(passes.begin(), passes.end(), [](const std::string& pass) { return pass.empty(); }));
  EXPECT_FALSE(platform::RealFileSystem().FileExists(path));
}

TEST_F(Shredding, AFailedWriteIsAFailedShredAndTheFileStays) {
  files.failAfterBytes = 0;
  std::string path = Write("full.bin", "secret");
  Purge();
  EXPECT_EQ(f.Lines(), Lines{" -Error-112      " + Reported("full.bin")});
  EXPECT_TRUE(platform::RealFileSystem().FileExists(path));
  EXPECT_EQ(f.r.report.ErrorLevel(), 3);
}

TEST_F(Shredding, ACancelledShredStillRemovesTheFile) {
  std::string path = Write("cancel.bin", "x");
  f.state.cancelRequested = true;
  auto& passes = Shred(path, '1', 3);
  EXPECT_TRUE(shredded);
  EXPECT_TRUE(passes.empty());
  EXPECT_EQ(f.Lines(), Lines{"*** Cancelled by operator."});
  EXPECT_FALSE(platform::RealFileSystem().FileExists(path));
}

TEST_F(Shredding, OnlyTheNameGoesWhereOtherNamesShareTheContent) {
  std::string path = Write("linked.txt", "shared content");
  std::string other = f.scratch / "other-name.txt";
  ASSERT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), nullptr));
  auto& passes = Shred(path, '0');
  EXPECT_TRUE(shredded);
  EXPECT_TRUE(passes.empty());
  EXPECT_FALSE(platform::RealFileSystem().FileExists(path));
  EXPECT_EQ(platform::RealFileSystem().ReadFile(other), "shared content");
}

TEST_F(Shredding, AScratchNameInUseBelongsToSomeoneElse) {
  std::string theirs = Write("_Saltpan_1001.zap", "not ours");
  Shred(Write("mine.bin", "x"), '0');
  EXPECT_TRUE(shredded);
  EXPECT_EQ(platform::RealFileSystem().ReadFile(theirs), "not ours");
  EXPECT_GE(f.shred.scratchCounter, 1003);
}

TEST_F(Shredding, ClusterSizesByVolume) {
  struct Case {
    std::string fileSystem;
    uint64_t totalGiB;
    uint32_t sectorsPerCluster;
    uint32_t expected;
  };
  const Case cases[] = {{"NTFS", 100, 8, 4096},   {"FAT32", 4, 1, 4096},    {"fat32", 10, 1, 8192},
                        {"FAT32", 20, 1, 16384}, {"FAT32", 40, 1, 32768}, {"FAT", 1, 64, 32768}};
  for (const Case& c : cases) {
    files.volume = platform::VolumeInfo{c.sectorsPerCluster, 512, c.totalGiB << 30, c.fileSystem};
    f.shred.clusterDrive = 0;
    DeletionEngine& deletion = f.Environment().deletion;
    EXPECT_TRUE(deletion.ClusterSizeFor("D:\\folder\\file.txt"));
    EXPECT_EQ(f.shred.clusterSize, c.expected) << c.fileSystem << " " << c.totalGiB;
  }
  // Asked once per drive; a path without a drive letter has no cluster size.
  files.volume.reset();
  EXPECT_TRUE(f.Environment().deletion.ClusterSizeFor("D:\\other.txt"));
  EXPECT_EQ(f.shred.clusterSize, 32768u);
  EXPECT_FALSE(f.Environment().deletion.ClusterSizeFor("\\\\server\\share\\file.txt"));
}

}  // namespace
}  // namespace tidemark::engine
