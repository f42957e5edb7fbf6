// The release program started as a real process: run modes, the report file
// of an unattended run, the main window after it, the single instance, the
// data folder, "Pause", the installer hooks and the program-error handler.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/child_process_win.h"
#include "app/installer_hooks.h"
#include "platform/files.h"
#include "platform/gui_win.h"
#include "platform/ini_file.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "settings/option_sets.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

using settings::OptionSetId;
using test::ChildProcess;
constexpr const char* kMainWindowClass = "TFFoxForm";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The report of a purge in which no function could run.
constexpr const char* kNoOptionsReport =
    "Results of \"Purge\" function...\r\n\r\n -Error- No Purge Options were Selected.\r\n \r\n"
    "NOTE - The TroubleShooting section of the Tidemark Help file \r\n"
    "       contains additonal information for the Error indicators.\r\n";

// Top-level windows of a class (and title, when given), with the processes owning them.
std::vector<std::pair<HWND, DWORD>> TopLevelWindows(const char* className, const char* title = nullptr) {
  std::vector<std::pair<HWND, DWORD>> found;
  for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    found.push_back({window, owner});
  }
  return found;
}

// A visible window of the process; nothing when the process ends first or the time runs out.
HWND WaitForWindow(const ChildProcess& process, const char* className, const char* title = nullptr) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 60000 && process.Running(); Sleep(100))
    for (auto [window, owner] : TopLevelWindows(className, title))
      if (owner == process.id() && IsWindowVisible(window)) return window;
  return nullptr;
}

std::string UniqueName(const std::string& stem) {
  static int counter = 0;
  return stem + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
         std::to_string(++counter);
}

platform::FileSystem& Files() { return platform::RealFileSystem(); }

class RunModes : public ::testing::Test {
 protected:
  void SetUp() override {
    releaseExe_ = TIDEMARK_RELEASE_EXE;
    if (releaseExe_.empty()) GTEST_SKIP() << "no release program configured (TIDEMARK_RELEASE_DIR)";
    ASSERT_TRUE(Files().FileExists(releaseExe_))
        << releaseExe_ << " is missing: build it with scripts/build release-x86_64";
    platform::SpecialFolder appData = platform::RealShell().GetSpecialFolder(platform::csidl::kAppData);
    ASSERT_TRUE(appData.found);
    dataName_ = UniqueName("tmrun");
    dataFolder_ = JoinPath(appData.path, dataName_);
    program_ = CopyProgram("tidemark.exe");
  }
  void TearDown() override {
    processes_.clear();  // ends whatever still runs before its files go
    if (!dataFolder_.empty()) {
      EXPECT_TRUE(test::RemoveTree(dataFolder_)) << dataFolder_;
    }
  }

  // A copy of the release program (and its manifest) in the test's folder.
  std::string CopyProgram(const std::string& name) {
    std::string copy = folder_ / name;
    EXPECT_TRUE(Files().CopyFileTo(releaseExe_, copy, true));
    EXPECT_TRUE(Files().CopyFileTo(releaseExe_ + ".ManifesT", copy + ".ManifesT", true));
    return copy;
  }
  // An option set with only the given function ticked (none by default), no
  // splash screen and the given main window option.
  void WriteOptions(OptionSetId id, settings::MainWindowOption mainWindow,
                    std::optional<settings::PurgeFunctionId> ticked = std::nullopt) {
    ASSERT_TRUE(Files().CreateFolders(dataFolder_));
    platform::PrivateProfileFile ini(JoinPath(dataFolder_, "Tidemark.ini"));
    settings::OptionSet options;
    if (ticked) options[*ticked] = true;
    ASSERT_TRUE(settings::SaveOptionSet(ini, id, options));
    ASSERT_TRUE(settings::SaveDisplayOptions(ini, id, {settings::SplashOption::Disable, mainWindow}));
  }
  // Starts the program with params, this test's data folder and its report file.
  ChildProcess& Start(const std::string& params, const std::string& program = {}) {
    processes_.push_back(std::make_unique<ChildProcess>("\"" + (program.empty() ? program_ : program) + "\" " + params +
                                                        " data=" + dataName_ + " \"Report=" + reportFile_ + "\""));
    return *processes_.back();
  }
  // Runs the program to its end; its exit code, or nothing when it did not end in time.
  std::optional<DWORD> RunToEnd(const std::string& params) {
    ChildProcess& process = Start(params);
    return process.WaitForExit() ? std::optional(process.ExitCode()) : std::nullopt;
  }
  std::optional<std::string> Report() const { return Files().ReadFile(reportFile_); }

  std::string releaseExe_;
  test::TempFolder folder_;
  std::string dataName_, dataFolder_, program_;
  std::string reportFile_ = folder_ / "report.txt";
  std::vector<std::unique_ptr<ChildProcess>> processes_;
};

struct WindowCase {
  const char* name;
  int purgeNow, startup;  // the main window options of each set; -1: no settings file at all
  const char* params;
  bool shown;
};
void PrintTo(const WindowCase& run, std::ostream* out) { *out << run.name; }

class MainWindowAfterRun : public RunModes, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(MainWindowAfterRun, ShowsTheWindowOnlyWhenTheDisplayOptionAsks) {
  const WindowCase& run = GetParam();
  if (run.purgeNow >= 0) {
    WriteOptions(OptionSetId::PurgeNow, settings::MainWindowOption(run.purgeNow));
    WriteOptions(OptionSetId::Startup, settings::MainWindowOption(run.startup));
  }
  ChildProcess& process = Start(std::string("MULT ") + run.params);
  HWND window = WaitForWindow(process, kMainWindowClass);
  EXPECT_EQ(window != nullptr, run.shown);
  if (window) {
    EXPECT_EQ(gui::WindowText(window),
              "Tidemark - Purge Cache, Cookies and Tracks for Mozilla's FireFox -  Version 4.06");
    // The report is written when the purge ends, before the window waits for the user.
    EXPECT_EQ(Report(), kNoOptionsReport);
    EXPECT_TRUE(process.Running()) << "the shown window did not wait for the user";
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  ASSERT_TRUE(process.WaitForExit());
  EXPECT_EQ(process.ExitCode(), 9u);
  EXPECT_EQ(Report(), kNoOptionsReport);
  // "data=" names the folder below application data, seeded at the start.
  for (const char* name : {"Tidemark.ini", "Tidemark.Dat", "IEcookie.dat"})
    EXPECT_TRUE(Files().FileExists(JoinPath(dataFolder_, name))) << name;
}

// No purge function is selected, so every run ends at level 9 ("No Purge
// Options were Selected."). Each mode word reads its own option set ("AUTO"
// before "BOOT").
INSTANTIATE_TEST_SUITE_P(DisplayOptions, MainWindowAfterRun,
                         ::testing::Values(WindowCase{"NoSettingsFile", -1, -1, "AUTO", true},
                                           WindowCase{"Disable", 3, 0, "AUTO", false},
                                           WindowCase{"DisableButLevel5", 3, 0, "AUTO LEVEL5", true},
                                           WindowCase{"StartupDisable", 0, 3, "boot", false},
                                           WindowCase{"AutoBeforeBoot", 3, 0, "BOOT AUTO", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whether a hidden application window ("Tidemark") of another Tidemark than
// the given ones runs: a second start may bring any of them forward.
bool OtherInstanceRuns(DWORD first, DWORD second) {
  for (auto [window, owner] : TopLevelWindows("TidemarkApplication", "Tidemark"))
    if (owner != first && owner != second) return true;
  return false;
}

TEST_F(RunModes, SecondStartRestoresTheFirstAndPurgesNothing) {
  // A program name of its own gives this test its own instance mutex.
  std::string program = CopyProgram(UniqueName("tm_instance_") + ".exe");
  ChildProcess& first = Start("", program);
  HWND window = WaitForWindow(first, kMainWindowClass);
  ASSERT_NE(window, nullptr) << "the interactive start shows no main window";
  // Other tests' Tidemark windows (started with "MULT") share the class and
  // title the second start looks for; try again when one was about.
  bool restored = false;
  for (int attempt = 0; attempt < 3 && !restored; ++attempt) {
    for (DWORD waited = 0; OtherInstanceRuns(first.id(), 0) && waited < 60000; waited += 100) Sleep(100);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));
    ChildProcess& second = Start("AUTO", program);
    bool othersSeen = false;
    for (DWORD waited = 0; !second.WaitForExit(100) && waited < 60000; waited += 100)
      othersSeen = othersSeen || OtherInstanceRuns(first.id(), second.id());
    ASSERT_FALSE(second.Running()) << "the second start did not end";
    EXPECT_EQ(second.ExitCode(), 11u) << "a start that purged nothing must not pass for a clean purge";
    EXPECT_FALSE(Files().FileExists(reportFile_)) << "the second start ran a purge";
    restored = !IsIconic(window);
    if (!othersSeen) break;
  }
  EXPECT_TRUE(restored) << "the first instance was not restored";
  // "MULT" lets a further start run beside the first.
  ChildProcess& third = Start("AUTO MULT", program);
  HWND thirdWindow = WaitForWindow(third, kMainWindowClass);
  EXPECT_NE(thirdWindow, nullptr);
  EXPECT_EQ(Report(), kNoOptionsReport);
  PostMessageA(thirdWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(third.WaitForExit());
  HWND exitButton = FindWindowExA(window, nullptr, "Button", "E&xit");
  ASSERT_NE(exitButton, nullptr);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(exitButton), BN_CLICKED), LPARAM(exitButton));
  ASSERT_TRUE(first.WaitForExit());
  EXPECT_EQ(first.ExitCode(), 0u);
}

TEST_F(RunModes, AnUnattendedRunPurgesTheTempFolderItIsGivenAndPauseWaits) {
  // The program's temp folder is this test's own: "tmp" is all it looks at.
  test::EnvironmentVariables environment;
  environment.Set("tmp", folder_ / "TEMP");
  std::string old = folder_.Write("TEMP\\old.log", "x"), young = folder_.Write("TEMP\\young.log", "x");
  ASSERT_TRUE(test::SetWriteTime(old, test::FileTimeNow() - 72 * test::kFileTimeHour));
  WriteOptions(OptionSetId::PurgeNow, settings::MainWindowOption::Disable, settings::PurgeFunctionId::TempFolders);
  DWORD start = GetTickCount();
  EXPECT_EQ(RunToEnd("AUTO MULT Pause=2"), 0u);
  EXPECT_GE(GetTickCount() - start, 1900u);
  EXPECT_EQ(Report(),
            "Results of \"Purge\" function...\r\n\r\nProcessing \"Temp Folders\"\r\n"
            "     Ignore files modified in the last 8 Hours\r\n"
            "       deleted - " +
                UpperCase(old) +
                "\r\n"
                "  Purge \"Temp Folders\" Function Completed. 1 Files/Directories Processed.\r\n"
                " - - - - - - - - - - - - - - - - -\r\n  Purge Functions Completed.\r\n");
  EXPECT_FALSE(Files().FileExists(old));
  EXPECT_TRUE(Files().FileExists(young));
  // A report that cannot be written fails the run.
  reportFile_ = folder_ / "no such folder\\report.txt";
  EXPECT_EQ(RunToEnd("AUTO MULT"), 10u);
}

TEST_F(RunModes, InitRefreshesTheManifestAndEndsWithoutAWindow) {
  std::string manifestT = program_ + ".ManifesT", manifestX = program_ + ".ManifesX",
              manifestI = program_ + ".ManifesI";
  std::string original = Files().ReadFile(manifestT).value_or("");
  ASSERT_FALSE(original.empty());
  // The installer's copy replaces ".ManifesT" when there is no ".ManifesX".
  ASSERT_TRUE(Files().WriteFile(manifestI, "installed manifest"));
  EXPECT_EQ(RunToEnd("INIT MULT"), 0u);
  EXPECT_EQ(Files().ReadFile(manifestT), "installed manifest");
  EXPECT_EQ(Files().ReadFile(manifestI), "installed manifest");
  // With themes switched off (".ManifesX") that one is replaced instead.
  ASSERT_TRUE(Files().WriteFile(manifestT, original) && Files().WriteFile(manifestX, "themes off") &&
              Files().WriteFile(manifestI, "second manifest"));
  EXPECT_EQ(RunToEnd("INIT MULT"), 0u);
  EXPECT_EQ(Files().ReadFile(manifestX), "second manifest");
  EXPECT_EQ(Files().ReadFile(manifestT), original);
  EXPECT_FALSE(Files().FileExists(reportFile_));
}

TEST_F(RunModes, UninstRemovesTheStartupEntryAndTheDataFilesButNotTheUsers) {
  using platform::RegistryRoot;
  auto writeDataFiles = [this] {
    for (const char* name : kDataFiles) ASSERT_TRUE(Files().WriteFile(JoinPath(dataFolder_, name), "data"));
  };
  ASSERT_TRUE(Files().CreateFolders(dataFolder_));
  writeDataFiles();
  std::string notes = JoinPath(dataFolder_, "Notes.txt");
  ASSERT_TRUE(Files().WriteFile(notes, "mine"));
  platform::Registry& registry = platform::RealRegistry();
  auto saved = registry.ReadValue(RegistryRoot::CurrentUser, kRunKey, "Tidemark");
  ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, kRunKey, "Tidemark", "\"" + program_ + "\" BOOT"));
  EXPECT_EQ(RunToEnd("UNINST MULT"), 0u);
  EXPECT_FALSE(registry.ReadValue(RegistryRoot::CurrentUser, kRunKey, "Tidemark").has_value());
  if (saved) registry.WriteValue(RegistryRoot::CurrentUser, kRunKey, "Tidemark", *saved);
  for (const char* name : kDataFiles) EXPECT_FALSE(Files().FileExists(JoinPath(dataFolder_, name))) << name;
  EXPECT_EQ(Files().ReadFile(notes), "mine");
  EXPECT_FALSE(Files().FileExists(reportFile_));
  // Once only its own files are there the folder goes too.
  ASSERT_TRUE(Files().RemoveFile(notes));
  writeDataFiles();
  EXPECT_EQ(RunToEnd("UNINST MULT"), 0u);
  EXPECT_FALSE(Files().FolderExists(dataFolder_)) << "the emptied data folder is left";
}

TEST_F(RunModes, ProgramErrorsAreShownAndNeverPassForSuccess) {
  WriteOptions(OptionSetId::PurgeNow, settings::MainWindowOption::Disable);
  // Whether a purge ran (and wrote its report) before the error.
  for (auto [params, message, reported] : {std::tuple{"AUTO MULT AbortC1", "FFoxMain - FormCreate -1", false},
                                           {"AUTO MULT AbortX", "FFoxMain - Exit1click", true}}) {
    SCOPED_TRACE(params);
    Files().RemoveFile(reportFile_);
    ChildProcess& process = Start(params);
    HWND box = WaitForWindow(process, "#32770", "Tidemark  -  Program Error");
    ASSERT_NE(box, nullptr) << "no program-error message box";
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    EXPECT_TRUE(StartsWith(text, std::string("Exception Test - ") + message)) << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(process.WaitForExit()) << "the program goes on after its error";
    EXPECT_EQ(process.ExitCode(), 9u);
    EXPECT_EQ(Files().FileExists(reportFile_), reported);
  }
}

}  // namespace
}  // namespace tidemark::app
