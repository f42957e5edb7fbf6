// The release program as a real process: run modes, their reports and main window, one instance, the installer hooks.
#include <gtest/gtest.h>
#include <windows.h>
// The tool help functions need windows.h first.
#include <tlhelp32.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/child_process_win.h"
#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "settings/option_sets.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

using settings::OptionSetId;
using test::ChildProcess;
constexpr const char* kMainWindowClass = "TFFoxForm";

constexpr const char* kNoOptionsReport =
    "Results of \"Purge\" function...\r\n\r\n -Error- No Purge Options were Selected.\r\n \r\n"
    "NOTE - The TroubleShooting section of the Tidemark Help file \r\n"
    "       contains additonal information for the Error indicators.\r\n";

// A visible window of the process; nothing when the process ends first or the time runs out.
HWND WaitForWindow(const ChildProcess& process, const char* className, const char* title = nullptr) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < 60000 && !process.WaitForExit(0); Sleep(100))
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title)) != nullptr;) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == process.id() && IsWindowVisible(window)) return window;
    }
  return nullptr;
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
    dataName_ = test::UniqueName();
    dataFolder_ = JoinPath(appData.path, dataName_);
    program_ = CopyProgram("tidemark.exe");
  }
  void TearDown() override {
    processes_.clear();  // ends whatever still runs before its files go
    if (!dataFolder_.empty()) {
      EXPECT_TRUE(test::RemoveTree(dataFolder_)) << dataFolder_;
    }
  }

  std::string CopyProgram(const std::string& name) {
    std::string copy = folder_ / name;
    EXPECT_TRUE(Files().CopyFileTo(releaseExe_, copy, true));
    EXPECT_TRUE(Files().CopyFileTo(releaseExe_ + ".ManifesT", copy + ".ManifesT", true));
    return copy;
  }
  // Only the given function ticked (none by default), no splash screen.
  void WriteOptions(OptionSetId id, settings::MainWindowOption mainWindow,
                    std::optional<settings::PurgeFunctionId> ticked = std::nullopt) {
    ASSERT_TRUE(Files().CreateFolders(dataFolder_));
    platform::PrivateProfileFile ini(JoinPath(dataFolder_, "Tidemark.ini"));
    settings::OptionSet options;
    if (ticked) options[*ticked] = true;
    ASSERT_TRUE(settings::SaveOptionSet(ini, id, options));
    ASSERT_TRUE(settings::SaveDisplayOptions(ini, id, {settings::SplashOption::Disable, mainWindow}));
  }
  // With this test's data folder and report file.
  ChildProcess& Start(const std::string& params, const std::string& program = {}) {
    processes_.push_back(std::make_unique<ChildProcess>("\"" + (program.empty() ? program_ : program) + "\" " + params +
                                                        " data=" + dataName_ + " \"Report=" + reportFile_ + "\""));
    return *processes_.back();
  }
  std::optional<DWORD> RunToEnd(const std::string& params) { return Start(params).WaitForExit(); }
  std::optional<std::string> Report() const { return Files().ReadFile(reportFile_); }

  std::string releaseExe_;
  test::TempFolder folder_;
  std::string dataName_, dataFolder_, program_;
  std::string reportFile_ = folder_ / "report.txt";
  std::vector<std::unique_ptr<ChildProcess>> processes_;
};

// No purge function is selected, so every run ends at level 9 ("No Purge Options were Selected."). Each mode word
// reads its own option set.
TEST_F(RunModes, TheMainWindowAfterAnUnattendedRunShowsOnlyWhenTheDisplayOptionAsks) {
  const struct {
    int purgeNow, startup;  // the main window options of each set; -1: no settings file yet
    const char* params;
    bool shown;
  } runs[] = {
      {-1, -1, "AUTO", true}, {3, 0, "AUTO", false}, {3, 0, "AUTO LEVEL5", true}, {0, 3, "boot", false},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.params);
    Files().RemoveFile(reportFile_);
    if (run.purgeNow >= 0) {
      WriteOptions(OptionSetId::PurgeNow, settings::MainWindowOption(run.purgeNow));
      WriteOptions(OptionSetId::Startup, settings::MainWindowOption(run.startup));
    }
    ChildProcess& process = Start(std::string("MULT ") + run.params);
    HWND window = WaitForWindow(process, kMainWindowClass);
    EXPECT_EQ(window != nullptr, run.shown);
    // The report is written when the purge ends, before a shown window waits for the user.
    EXPECT_EQ(Report(), kNoOptionsReport);
    if (window) {
      EXPECT_FALSE(process.WaitForExit(0)) << "the shown window did not wait for the user";
      PostMessageA(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(process.WaitForExit(), 9u);
    // "data=" names the folder below application data, seeded at the start.
    for (const char* name : {"Tidemark.ini", "Tidemark.Dat", "IEcookie.dat"})
      EXPECT_TRUE(Files().FileExists(JoinPath(dataFolder_, name))) << name;
  }
}

TEST_F(RunModes, SecondStartPurgesNothingUnlessMult) {
  // A program name of its own gives this test its own instance mutex.
  std::string program = CopyProgram(test::UniqueName() + ".exe");
  ChildProcess& first = Start("", program);
  HWND window = WaitForWindow(first, kMainWindowClass);
  ASSERT_NE(window, nullptr) << "the interactive start shows no main window";
  EXPECT_EQ(Start("AUTO", program).WaitForExit(), 11u) << "a start that purged nothing must not pass for a clean purge";
  EXPECT_FALSE(Files().FileExists(reportFile_)) << "the second start ran a purge";
  // "MULT" lets a further start run beside the first.
  ChildProcess& third = Start("AUTO MULT", program);
  HWND thirdWindow = WaitForWindow(third, kMainWindowClass);
  EXPECT_NE(thirdWindow, nullptr);
  EXPECT_EQ(Report(), kNoOptionsReport);
  PostMessageA(thirdWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(third.WaitForExit());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(), 0u);
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
  EXPECT_FALSE(Files().FileExists(old));
  EXPECT_TRUE(Files().FileExists(young));
  // A report that cannot be written fails the run.
  reportFile_ = folder_ / "no such folder\\report.txt";
  EXPECT_EQ(RunToEnd("AUTO MULT"), 10u);
}

TEST_F(RunModes, InstallerHooksInitRefreshesTheManifestUninstRemovesTheDataFilesButTheUsers) {
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

  // UNINST removes its data files but not the user's (the installer cycle checks the startup entry and each file).
  ASSERT_TRUE(Files().CreateFolders(dataFolder_));
  std::string settingsFile = JoinPath(dataFolder_, "Tidemark.ini"), notes = JoinPath(dataFolder_, "Notes.txt");
  ASSERT_TRUE(Files().WriteFile(settingsFile, "data") && Files().WriteFile(notes, "mine"));
  EXPECT_EQ(RunToEnd("UNINST MULT"), 0u);
  EXPECT_FALSE(Files().FileExists(settingsFile));
  EXPECT_EQ(Files().ReadFile(notes), "mine");
  EXPECT_FALSE(Files().FileExists(reportFile_));
}


// Where the process's program image lies in its memory: first and last address.
std::pair<uintptr_t, uintptr_t> ProgramImageOf(const ChildProcess& process) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process.id());
  MODULEENTRY32 module{sizeof module};
  bool found = snapshot != INVALID_HANDLE_VALUE && Module32First(snapshot, &module);
  if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
  auto base = found ? reinterpret_cast<uintptr_t>(module.modBaseAddr) : 0;
  return {base, found ? base + module.modBaseSize - 1 : 0};
}

TEST_F(RunModes, ProgramErrorsAreShownWithTheAddressWhereKnownAndNeverPassForSuccess) {
  WriteOptions(OptionSetId::PurgeNow, settings::MainWindowOption::Disable);
  platform::PrivateProfileFile ini(JoinPath(dataFolder_, "Tidemark.ini"));
  ASSERT_TRUE(ini.WriteString("ShowOption", "CookieMsgOpt", "Y"));
  // Whether a purge ran (and wrote its report) before the error. A C++ exception keeps no record of where it was
  // thrown; a fault (an access violation) names the instruction, which lies in the program.
  const std::string occurredAt = ". Occurred at: ";
  for (auto [params, message, reported] :
       {std::tuple{"AUTO MULT AbortC1", std::string("Exception Test - FFoxMain - FormCreate -1.\r\n"), false},
        {"AUTO MULT AbortX", "Exception Test - FFoxMain - Exit1click.\r\n", true},
        {"AUTO MULT AbortAV", "Access violation writing address 00000000" + occurredAt, true}}) {
    SCOPED_TRACE(params);
    Files().RemoveFile(reportFile_);
    ChildProcess& process = Start(params);
    HWND box = WaitForWindow(process, "#32770", "Tidemark  -  Program Error");
    ASSERT_NE(box, nullptr) << "no program-error message box";
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    EXPECT_TRUE(StartsWith(text, message)) << text;
    if (message.ends_with(occurredAt)) {
      auto [first, last] = ProgramImageOf(process);
      uintptr_t address = std::strtoull(text + message.size(), nullptr, 16);
      EXPECT_TRUE(address >= first && address <= last) << text << " outside " << first << ".." << last;
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(process.WaitForExit(), 9u) << "the program goes on after its error";
    EXPECT_EQ(Files().FileExists(reportFile_), reported);
    EXPECT_EQ(ini.ReadString("ShowOption", "CookieMsgOpt", ""), "Y") << "a setting not read was written over";
  }
}

}  // namespace
}  // namespace tidemark::app
