// The deletion engine over scratch folders and the purge driver with bodies of the test's own, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <deque>
#include <stdexcept>

#include "engine/deletion.h"
#include "engine/driver.h"
#include "engine/labels.h"
#include "platform/files_win.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"

namespace tidemark::engine {
namespace {

using Lines = std::vector<std::string>;
using test::Sorted;

// Records what every overwrite pass writes (a pass starts at the file's start), and can make a write fail as on a
// full disk; everything else is the real file system.
struct RecordingFileSystem : platform::Win32FileSystem {
  std::unique_ptr<platform::ExclusiveFile> OpenExclusive(const std::string& path) override {
    auto file = Win32FileSystem::OpenExclusive(path);
    if (!file) return file;
    return std::make_unique<Recorder>(std::move(file), *this);
  }

  std::deque<std::string> passes;
  std::optional<size_t> failAfterBytes;
  struct Recorder : platform::ExclusiveFile {
    Recorder(std::unique_ptr<platform::ExclusiveFile> file, RecordingFileSystem& files)
        : file(std::move(file)), files(files) {}
    const platform::FileIdentity& Identity() const override { return file->Identity(); }
    bool Write(const void* data, size_t size) override {
      std::string& pass = files.passes.back();
      if (files.failAfterBytes && pass.size() + size > *files.failAfterBytes) return (error = ERROR_DISK_FULL), false;
      pass.append(static_cast<const char*>(data), size);
      return file->Write(data, size);
    }
    bool SeekToStart() override { return files.passes.emplace_back(), file->SeekToStart(); }
    bool Truncate() override { return file->Truncate(); }
    uint32_t LastError() const override { return error ? error : file->LastError(); }
    std::unique_ptr<platform::ExclusiveFile> file;
    RecordingFileSystem& files;
    uint32_t error = 0;
  };
};

class Deletion : public ::testing::Test {
 protected:
  Deletion() : f({&files}) {}

  std::string Write(const std::string& relative, const std::string& content = "data") {
    return f.scratch.Write("purge\\" + relative, content);
  }
  std::string Line(std::string_view label, const std::string& relative) const {
    return std::string(label) + UpperCase(root + "\\" + relative);
  }
  // Holds a file open without sharing, as a program that uses it would.
  auto Hold(const std::string& path) { return files.Win32FileSystem::OpenExclusive(path); }
  bool Exists(const std::string& relative) { return files.Attributes(root + "\\" + relative).has_value(); }
  DeletionEngine& Purge() {
    f.r.sink.lines.clear();
    DeletionEngine& deletion = f.Environment().deletion;
    deletion.DeleteFolderContents(root, "*.*", true);
    return deletion;
  }
  // Shreds one file; the passes it wrote.
  std::deque<std::string>& Shred(const std::string& path, char mode, int repeats = 1) {
    files.passes.clear();
    f.state.flags.secureErase = true;
    f.settings.shredMode = mode;
    f.settings.repeats = repeats;
    shredded = f.Environment().deletion.DeleteOrShredFile(path, "");
    cluster = f.shred.clusterSize;
    return files.passes;
  }

  RecordingFileSystem files;
  test::PurgeFixture f;
  std::string root = f.scratch / "purge";
  bool shredded = false;
  uint32_t cluster = 0;
};

TEST_F(Deletion, NestedFoldersGoTheFolderStaysOnlyFailuresShowInSummaryTheAgeFilterKeepsYoungFilesAndCancelStops) {
  Write("a.txt");
  Write("sub\\deeper\\c.txt");
  EXPECT_EQ(Purge().ItemsProcessed, 4);
  EXPECT_EQ(f.Lines(), (Lines{Line(kDeleted, "a.txt"), Line(kDeleted, "sub\\deeper\\c.txt"),
                              Line(kDeleted, "sub\\deeper"), Line(kDeleted, "sub")}));
  EXPECT_TRUE(files.FolderExists(root) && !Exists("sub"));

  f.state.flags.detailReport = false;
  SetFileAttributesA(Write("ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  {
    auto locked = Hold(Write("locked.txt", "in use")), lockedInside = Hold(Write("sub\\held.txt"));
    Purge();
  }
  EXPECT_EQ(Sorted(f.Lines()),
            Sorted({Line(kLocked, "locked.txt"), Line(kLocked, "sub\\held.txt"), Line(kDirNotEmpty, "sub")}));
  EXPECT_TRUE(!Exists("ro.txt") && f.state.lockedFileSeen);
  EXPECT_EQ(files.ReadFile(root + "\\locked.txt"), "in use");
  f.state.flags.detailReport = true;
  f.settings.ageFilterOn = true;
  f.settings.ageHours = 8;
  for (auto [name, tenths] : {std::pair{"old.txt", 480}, {"just-old.txt", 81}, {"nearly.txt", 79}})
    ASSERT_TRUE(test::SetWriteTime(Write(name), f.now - tenths * test::kFileTimeHour / 10));
  Write("young\\new.txt");
  f.state.previewMode = true;
  Purge();
  EXPECT_EQ(Sorted(f.Lines()), Sorted({Line(kToDelete, "old.txt"), Line(kToDelete, "just-old.txt")}));
  f.state.previewMode = false;
  EXPECT_TRUE(Purge().ItemsProcessed == 2 && f.Lines().size() == 2u);
  EXPECT_TRUE(!Exists("old.txt") && Exists("nearly.txt") && Exists("young\\new.txt") && !f.r.report.ErrorLevel());

  f.settings.ageFilterOn = false;
  for (int i = 0; i < 30; ++i) Write("file" + std::to_string(i) + ".txt");
  int pumps = 0;
  f.r.pump.onPump = [&] { f.state.cancelRequested |= ++pumps == 5; };
  Purge();
  EXPECT_EQ(f.Lines(), Lines{"*** Cancelled by operator."});
  EXPECT_TRUE(Exists("file0.txt") && Exists("file29.txt") && Exists("nearly.txt"));
}

TEST_F(Deletion, ProtectedItemsStayIgnoredFailuresAreNoErrorsAndAPreviewTouchesNothing) {
  // "i=" sorts first; the protection of keep.tmp must hold all the same.
  f.protect.entries = {"i=*.tmp", "p=*\\kept\\", "p=keep.tmp"};
  for (const char* name : {"keep.tmp", "other.tmp", "kept\\inside.txt", "sub\\c.txt"}) Write(name);
  auto busy = Hold(Write("busy.tmp"));
  for (bool preview : {true, false}) {
    f.state.previewMode = preview;
    std::string_view done = preview ? kToDelete : kDeleted;
    EXPECT_EQ(Purge().ItemsProcessed, 4);
    EXPECT_EQ(Sorted(f.Lines()), Sorted({Line(kProtected, "keep.tmp"), Line(kProtected, "kept"),
                                         Line(preview ? kIgnoreErrors : kDeleted, "other.tmp"),
                                         Line(preview ? kIgnoreErrors : kIgnoreLocked, "busy.tmp"),
                                         Line(done, "sub\\c.txt"), Line(done, "sub")}));
    EXPECT_EQ(Exists("other.tmp") && Exists("sub\\c.txt"), preview);
  }
  EXPECT_TRUE(Exists("keep.tmp") && Exists("kept\\inside.txt"));
  EXPECT_EQ(std::pair(f.state.lockedFileSeen, f.r.report.ErrorLevel()), std::pair(false, 0));
}

// Roots in every spelling and root links are the native tests' and the temp purge's.
TEST_F(Deletion, ARelativeFileIsRefusedAndALinkBelowTheFolderIsNeverEntered) {
  for (bool shred : {false, true}) {
    f.state.flags.secureErase = shred;
    DeletionEngine& engine = f.Environment().deletion;
    EXPECT_FALSE(engine.DeleteOrShredFile("file.txt", "") || engine.LastDeleteError != 161) << shred;
  }
  std::string fixture = TIDEMARK_LINK_FIXTURE, purged = fixture + "\\purged";
  if (!files.FolderExists(purged + "\\link")) GTEST_SKIP() << "no link fixture at " << fixture;
  files.WriteFile(purged + "\\loose.txt", "x");
  f.Environment().deletion.DeleteFolderContents(purged, "*.*", false);
  EXPECT_FALSE(files.FileExists(purged + "\\loose.txt"));
  EXPECT_EQ(files.ReadFile(fixture + "\\target\\precious.txt"), "keep me");
}

TEST_F(Deletion, EveryDataFileOutcomeHasItsLineEvenInSummaryAndAFileOnlyItsShortNameReachesIsDeleted) {
  f.state.flags.detailReport = false;
  std::string present = f.scratch.Write("places.sqlite", "x"), locked = f.scratch.Write("cookies.sqlite", "x");
  std::string missing = f.scratch / "formhistory.sqlite";
  auto held = Hold(locked);
  DeletionEngine& deletion = f.Environment().deletion;
  EXPECT_FALSE(deletion.DeleteDataFile("  File not found - History.dat") || deletion.DeleteDataFile(missing));
  f.state.previewMode = true;
  EXPECT_TRUE(deletion.DeleteDataFile(present));
  f.state.previewMode = false;
  EXPECT_TRUE(deletion.DeleteDataFile(present) && !deletion.DeleteDataFile(locked));
  EXPECT_EQ(f.Lines(),
            (Lines{"    This file is not currently defined...", std::string(kFileNotFound) + missing,
                   std::string(kToDelete) + present, std::string(kDeleted) + present, std::string(kLocked) + locked}));
  EXPECT_TRUE(!files.FileExists(present) && f.r.report.ErrorSeen());
  // The long path is beyond what the "A" calls accept; the 8.3 one is not.
  std::string folder = f.scratch / std::string(120, 'f'), longName(150, 'n');
  std::wstring wide = L"\\\\?\\" + std::wstring(folder.begin(), folder.end());
  ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
  wide += L"\\" + std::wstring(longName.begin(), longName.end());
  CloseHandle(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  std::string shortName;
  files.ListFolder(folder, [&](const platform::DirEntry& entry) { return shortName = entry.shortName, false; });
  if (shortName.empty()) GTEST_SKIP() << "no 8.3 names on this volume";
  EXPECT_TRUE(f.Environment().deletion.DeleteOrShredFile(folder + "\\" + longName, shortName) &&
              !files.FileExists(folder + "\\" + shortName));
}

TEST_F(Deletion, AShredFailsOnAFailedWriteRemovesOnlyALinksNameAndWritesWholeClustersOfCyclingPatterns) {
  files.failAfterBytes = 0;
  std::string full = Write("full.bin", "secret");
  f.state.flags.secureErase = true;
  Purge();
  EXPECT_EQ(f.Lines(), Lines{Line(" -Error-112      ", "full.bin")});
  EXPECT_TRUE(files.ReadFile(full) == "secret" && f.r.report.ErrorLevel() == 3);
  files.failAfterBytes.reset();
  std::string path = Write("linked.txt", "shared content"), other = f.scratch / "other-name.txt";
  ASSERT_TRUE(CreateHardLinkA(other.c_str(), path.c_str(), nullptr));
  EXPECT_TRUE(Shred(path, '0').empty() && shredded && !files.FileExists(path));
  EXPECT_EQ(files.ReadFile(other), "shared content");
  std::string theirs = Write("_Saltpan_1001.zap", "not ours"), one = Write("one.bin", "x");
  auto quick = Shred(one, '0');
  EXPECT_EQ(quick, std::deque<std::string>{std::string(cluster, '\0')});
  ASSERT_TRUE(shredded && cluster >= 512);
  EXPECT_TRUE(!files.FileExists(one) && files.ReadFile(theirs) == "not ours");
  auto empty = Shred(Write("empty.bin", ""), '2', 2);
  EXPECT_TRUE(shredded && std::all_of(empty.begin(), empty.end(), [](auto& pass) { return pass.empty(); }));

  auto complement = [](std::string bytes) {
    for (char& c : bytes) c = static_cast<char>(255 - static_cast<unsigned char>(c));
    return bytes;
  };
  auto five = Shred(Write("five.bin", std::string(5000, 'x')), '1', 5);
  ASSERT_TRUE(shredded && five.size() == 5u);
  EXPECT_EQ(five[0].size(), (5000 + cluster - 1) / cluster * cluster);
  EXPECT_EQ(five[1], complement(five[0]));
  EXPECT_TRUE(five[2] != five[0] && five[3] != five[0]) << "a third pattern, then fresh data";
  EXPECT_EQ(five[4], complement(five[3]));
  EXPECT_TRUE(std::none_of(five[0].begin(), five[0].end(), [](char c) { return c == '\xff'; }));
  auto four = Shred(Write("four.bin", "x"), '1', 4);
  ASSERT_EQ(four.size(), 4u);
  EXPECT_EQ(four[3], four[0]) << "no fresh data for a single last pass";
  auto both = Shred(Write("both.bin", "x"), '2', 1);
  EXPECT_TRUE(both.size() == 2u && both[0] != both[1] && both[1] == std::string(cluster, '\0'));
  files.ListFolder(root, [](const platform::DirEntry& entry) {
    EXPECT_TRUE(entry.name == "_Saltpan_1001.zap" || !StartsWith(entry.name, "_Saltpan_")) << entry.name;
    return true;
  });
}

using enum PurgeFunctionId;
using Ids = std::vector<PurgeFunctionId>;

const std::string kSeparator(kSectionSeparator);
const std::string kErrorNote = "       contains additonal information for the Error indicators.";
const std::string kCancelled = "  Purge Functions Cancelled by Operator.";
const std::string kErrorLabel = " Errors in Purge function  -  Use the TAB key to locate the Error... ";

// The test plays the window: it hands over the visible options and the fixture's resources, and its report records
// the progress; every function has a body that writes its caption and runs onBody.
class DriverTest : public ::testing::Test {
 protected:
  DriverTest() {
    for (const auto& function : PurgeFunctions())
      driver.SetBody(function.id, [this, id = function.id](PurgeEnvironment& env) {
        ran.push_back(id);
        env.Line("body " + std::string(PurgeFunctions()[Index(id)].caption));
        if (onBody) onBody(id, env);
      });
  }
  PurgeInputs Inputs() {
    return {[this] { return options ? std::optional(ReadFrameOptions(*options, recycleBin)) : std::nullopt; },
            [this] { return fixture.Resources(); }};
  }

  void Select(std::initializer_list<PurgeFunctionId> ids) {
    for (auto id : ids) (*options)[id] = true;
  }
  bool Contains(const std::string& line) const { return std::ranges::find(r.sink.lines, line) != r.sink.lines.end(); }

  std::optional<OptionSet> options = OptionSet{};
  bool recycleBin = true;
  test::PurgeFixture fixture;
  test::MemoryReport& r = fixture.r;
  PurgeState& state = fixture.state;
  PurgeDriver driver{r.report, Inputs(), state, {}};
  Ids ran;
  std::function<void(PurgeFunctionId, PurgeEnvironment&)> onBody;
};

TEST_F(DriverTest, RunsSelectedFunctionsInTheFixedOrderWithTheirFramesAndACancelSkipsTheRest) {
  Select({Plugins, TempFolders, FirefoxCache, Clipboard, RecycleBin});
  recycleBin = false;  // a disabled box does not run
  options->secureErase = options->reports = 1;
  fixture.scratch.Write("tidemark.pit", "p=*.keep\r\n");
  int protectEntries = 0;
  onBody = [&](PurgeFunctionId id, PurgeEnvironment& env) {
    if (id == TempFolders) protectEntries = env.tempProtect.Count;
  };
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{FirefoxCache, TempFolders, Clipboard, Plugins}));
  // The protect list is read for the run and let go after it.
  EXPECT_EQ(std::tuple(protectEntries, fixture.protect.Count, r.sink.batchDepth), std::tuple(1, 0, 0));
  EXPECT_FALSE(state.flags.detailReport || state.purgeRunning);

  // A cancel skips the rest silently; a click while cancelling does not start a second run.
  Select({FirefoxCookies, FirefoxTypedUrls});
  ran.clear();
  onBody = [this](PurgeFunctionId id, PurgeEnvironment&) {
    if (id != FirefoxTypedUrls) return;
    driver.Cancel();
    driver.Purge(nullptr);
    driver.Preview();
  };
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{FirefoxCache, FirefoxCookies, FirefoxTypedUrls}));
  EXPECT_FALSE(state.purgeRunning);
  EXPECT_EQ(std::pair(r.sink.lines.back(), r.progress.colour), std::pair(kCancelled, kColourSilver));
  ran.clear();
  onBody = nullptr;
  driver.Purge(nullptr);
  EXPECT_EQ(ran.size(), 6u) << "the next purge starts afresh";
}

TEST_F(DriverTest, AnExceptionInABodyIsContainedSevereAndThePurgeGoesOn) {
  Select({TempFolders, IECache});
  onBody = [](PurgeFunctionId id, PurgeEnvironment& env) {
    env.state.lockedFileSeen = true;
    if (id == TempFolders) throw std::runtime_error("boom");
  };
  driver.Purge(nullptr);
  EXPECT_EQ(r.sink.lines, (Lines{"Results of \"Purge\" function...", "", "Processing \"Temp Folders\"",
                                 "body Temp Folders", kSeparator, "*** Error occurred in above function ***",
                                 kSeparator, "Processing \"I.E. Cache\"", "body I.E. Cache", kSeparator,
                                 "  Purge Functions Completed.", " ", "NOTE - A \"Locked\" file has been encountered.",
                                 "       This indicates that the file is in use by another",
                                 "       program or system function and can not safely be deleted.", " ",
                                 "NOTE - The TroubleShooting section of the Tidemark Help file ", kErrorNote}));
  EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.progress.colour), std::pair(9, kColourLime));
}

TEST_F(DriverTest, RunningFirefoxSkipsOnlyTheFirefoxFunctionsABrowserTickCautionsAndSwitchesSetTheLevelAndLabel) {
  Select({FirefoxCookies, TempFolders});
  state.firefoxRunning = true;
  driver.Purge(nullptr);
  EXPECT_EQ(ran, (Ids{TempFolders}));
  EXPECT_TRUE(Contains(" -Error- not Processed as FireFox browser is active.") && r.report.ErrorLevel() == 7);
  driver.Preview();  // the skip raises nothing in a Preview
  EXPECT_EQ(std::pair(r.report.ErrorLevel(), r.progress.colour), std::pair(0, kColourSilver));
  state.firefoxRunning = false;
  driver.Purge([this] { state.browserCaution = true; });
  EXPECT_EQ(std::tuple(r.report.ErrorLevel(), r.progress.colour, r.sink.lines.back()),
            std::tuple(9, kColourLime, kErrorNote));
  driver.Preview();  // no tick, no caution
  EXPECT_EQ(r.sink.lines.front(), "This List is from a \"Preview Purge\".");
  const std::tuple<DriverSwitches, int, std::string, uint32_t> cases[] = {
      {{.presetErrorLevel = 5}, 5, kErrorLabel, kColourLime},
      {{.totals = true}, 0, "Total Processed - 2", kColourSilver},
      {{.errorSummary = true}, 0, kErrorLabel, kColourLime}};
  for (const auto& [switches, level, label, colour] : cases) {
    PurgeDriver switched(r.report, Inputs(), state, switches);
    switched.SetBody(TempFolders, [](PurgeEnvironment& env) { env.UpdateProgress(10), env.UpdateProgress(10); });
    switched.Purge(nullptr);
    EXPECT_EQ(std::tuple(r.report.ErrorLevel(), r.progress.text, r.progress.colour), std::tuple(level, label, colour));
    EXPECT_EQ(r.progress.events.end()[-2], "closed") << "the off-screen hint would cover the label";
  }
}

}  // namespace
}  // namespace tidemark::engine
