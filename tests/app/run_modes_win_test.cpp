// The release program started as a real process: run modes, the report file
// of an unattended run, the main window after it, the single instance, the
// data folder, "Pause", the installer hooks and the program-error handler.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/installer_hooks.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "process_win.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

using test::ChildProcess;

constexpr DWORD kRunLimitMs = 60000;
constexpr const char* kMainWindowClass = "TFFoxForm";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The report of a purge in which no function could run.
constexpr const char* kNoOptionsReport =
    "Results of \"Purge\" function...\r\n"
    "\r\n"
    " -Error- No Purge Options were Selected.\r\n"
    " \r\n"
    "NOTE - The TroubleShooting section of the Tidemark Help file \r\n"
    "       contains additonal information for the Error indicators.\r\n";

// Display options that let an unattended run end on its own, and option sets
// with every purge function off, whatever the defaults become.
std::string OptionSection(const std::string& section, int mainWinOpt) {
  std::string text = "[" + section + "]\r\nSplashOpt=1\r\nMainWinOpt=" + std::to_string(mainWinOpt) + "\r\n";
  for (const char* key : {"CacheOption", "CookiesOption", "HistoryOption", "FFtypedURLs", "FormsOption", "TempOption",
                          "VisitedOption", "RecentLNKsOption", "RecycleBinOption", "ClipBoardOption", "PluginsOption",
                          "IECacheOption", "IECookiesOption", "IEHistoryOption", "IEUserDataOption", "IESearchesOption",
                          "IETypedURLsOption", "IEStraysOption", "IEDOMstoreOption"})
    text += std::string(key) + "=0\r\n";
  return text;
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
    reportFile_ = folder_ / "report.txt";
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

  void WriteSettings(const std::string& text) {
    ASSERT_TRUE(Files().CreateFolders(dataFolder_));
    ASSERT_TRUE(Files().WriteFile(JoinPath(dataFolder_, "Tidemark.ini"), text));
  }

  // Starts the program with params and this test's own data folder.
  ChildProcess& Start(const std::string& params, const std::string& program = {}) {
    processes_.push_back(std::make_unique<ChildProcess>());
    std::string commandLine = "\"" + (program.empty() ? program_ : program) + "\" " + params + " data=" + dataName_;
    EXPECT_TRUE(processes_.back()->Start(commandLine)) << commandLine;
    return *processes_.back();
  }

  // Runs the program to its end; its exit code, or nothing when it did not
  // end in time (it is then ended).
  std::optional<DWORD> RunToEnd(const std::string& params) {
    ChildProcess& process = Start(params);
    if (!process.WaitForExit(kRunLimitMs)) return std::nullopt;
    return process.ExitCode();
  }

  std::optional<std::string> Report() const { return Files().ReadFile(reportFile_); }
  std::string ReportParam() const { return "\"Report=" + reportFile_ + "\""; }

  std::string releaseExe_;
  test::TempFolder folder_;
  std::string dataName_;
  std::string dataFolder_;
  std::string program_;
  std::string reportFile_;
  std::vector<std::unique_ptr<ChildProcess>> processes_;
};

TEST_F(RunModes, UnattendedRunWritesTheReportAndEndsWithItsErrorLevel) {
  WriteSettings(OptionSection("PnowOptions", 3));
  EXPECT_EQ(RunToEnd("AUTO MULT " + ReportParam()), 9u);
  EXPECT_EQ(Report(), kNoOptionsReport);
}

TEST_F(RunModes, ModeWordsPickTheirOwnOptionSet) {
  // Only the option set of the mode that runs lets the run end on its own;
  // the other one would keep the main window open.
  WriteSettings(OptionSection("PnowOptions", 0) + OptionSection("BootOptions", 3));
  EXPECT_EQ(RunToEnd("boot MULT " + ReportParam()), 9u);
  EXPECT_EQ(Report(), kNoOptionsReport);

  WriteSettings(OptionSection("PnowOptions", 3) + OptionSection("BootOptions", 0));
  ASSERT_TRUE(Files().RemoveFile(reportFile_));
  EXPECT_EQ(RunToEnd("BOOT AUTO MULT " + ReportParam()), 9u);
  EXPECT_EQ(Report(), kNoOptionsReport);
}

struct WindowCase {
  const char* name;
  int mainWinOpt;  // -1: no settings file at all
  const char* params;
  bool shown;
};
void PrintTo(const WindowCase& run, std::ostream* out) { *out << run.name; }

class MainWindowAfterRun : public RunModes, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(MainWindowAfterRun, ShowsTheWindowOnlyWhenTheDisplayOptionAsks) {
  const WindowCase& run = GetParam();
  if (run.mainWinOpt >= 0) WriteSettings(OptionSection("PnowOptions", run.mainWinOpt));
  ChildProcess& process = Start(std::string("AUTO MULT ") + run.params + " " + ReportParam());

  HWND window = WaitForWindow(process, kMainWindowClass, true, kRunLimitMs);
  if (!run.shown) {
    EXPECT_EQ(window, nullptr) << "the main window was shown";
  } else {
    ASSERT_NE(window, nullptr) << "no visible main window";
    EXPECT_EQ(test::TextOf(window),
              "Tidemark - Purge Cache, Cookies and Tracks for Mozilla's FireFox -  Version 4.06");
    // The report is written when the purge ends, before the window waits for the user.
    EXPECT_EQ(Report(), kNoOptionsReport);
    EXPECT_TRUE(process.Running()) << "the shown window did not wait for the user";
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  ASSERT_TRUE(process.WaitForExit(kRunLimitMs));
  EXPECT_EQ(process.ExitCode(), 9u);
  EXPECT_EQ(Report(), kNoOptionsReport);
}

// No purge function can be selected yet, so every run ends at level 9 ("No
// Purge Options were Selected.") and the options that show the window on
// errors show it; "ERROR5", "errors" and "totals" change nothing then.
INSTANTIATE_TEST_SUITE_P(
    DisplayOptions, MainWindowAfterRun,
    ::testing::Values(WindowCase{"NoSettingsFile", -1, "", true}, WindowCase{"Enable", 0, "", true},
                      WindowCase{"AnyError", 1, "", true}, WindowCase{"SevereError", 2, "", true},
                      WindowCase{"Disable", 3, "", false}, WindowCase{"DisableButLevel9", 3, "LEVEL9", true},
                      WindowCase{"DisableButLevel5", 3, "LEVEL5", true},
                      WindowCase{"DisableWithErrorSwitches", 3, "ERROR5 errors totals", false}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

// The hidden application windows ("Tidemark") of Tidemark processes other
// than the given ones: a second start may bring any of them forward.
bool OtherInstanceRuns(DWORD first, DWORD second) {
  for (const test::OwnedWindow& found : test::TopLevelWindows("TidemarkApplication"))
    if (found.processId != first && found.processId != second && test::TextOf(found.window) == "Tidemark") return true;
  return false;
}

TEST_F(RunModes, SecondStartRestoresTheFirstAndPurgesNothing) {
  // A program name of its own gives this test its own instance mutex.
  std::string program = CopyProgram(UniqueName("tm_instance_") + ".exe");
  ChildProcess& first = Start("", program);
  HWND window = WaitForWindow(first, kMainWindowClass, true, kRunLimitMs);
  ASSERT_NE(window, nullptr) << "the interactive start shows no main window";

  // Other tests' Tidemark windows (started with "MULT") share the class and
  // title the second start looks for; try again when one was about.
  bool restored = false;
  for (int attempt = 0; attempt < 3 && !restored; ++attempt) {
    for (DWORD waited = 0; OtherInstanceRuns(first.id(), 0) && waited < kRunLimitMs; waited += 100) Sleep(100);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window));

    ChildProcess& second = Start("AUTO " + ReportParam(), program);
    bool othersSeen = false;
    for (DWORD waited = 0; !second.WaitForExit(100) && waited < kRunLimitMs; waited += 100)
      othersSeen = othersSeen || OtherInstanceRuns(first.id(), second.id());
    ASSERT_FALSE(second.Running()) << "the second start did not end";
    EXPECT_EQ(second.ExitCode(), 11u) << "a start that purged nothing must not pass for a clean purge";
    EXPECT_FALSE(Files().FileExists(reportFile_)) << "the second start ran a purge";
    restored = !IsIconic(window);
    if (!othersSeen) break;
  }
  EXPECT_TRUE(restored) << "the first instance was not restored";
  EXPECT_TRUE(first.Running());

  // "MULT" lets a further start run beside the first.
  ChildProcess& third = Start("AUTO MULT " + ReportParam(), program);
  HWND thirdWindow = WaitForWindow(third, kMainWindowClass, true, kRunLimitMs);
  EXPECT_NE(thirdWindow, nullptr);
  EXPECT_EQ(Report(), kNoOptionsReport);

  for (HWND shown : {window, thirdWindow})
    if (shown) PostMessageA(shown, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.WaitForExit(kRunLimitMs));
  EXPECT_EQ(first.ExitCode(), 0u);
  EXPECT_TRUE(third.WaitForExit(kRunLimitMs));
}

TEST_F(RunModes, AnUnattendedRunPurgesTheTempFolderItIsGiven) {
  // The program's temp folder is this test's own: "tmp" is all it looks at.
  test::EnvironmentVariables environment;
  std::string temp = folder_ / "TEMP";
  environment.Set("tmp", temp);
  std::string old = folder_.Write("TEMP\\old.log", "x");
  ASSERT_TRUE(test::SetWriteTime(old, test::FileTimeNow() - 72 * test::kFileTimeHour));
  std::string young = folder_.Write("TEMP\\young.log", "x");
  std::string options = OptionSection("PnowOptions", 3);
  options.replace(options.find("TempOption=0"), 12, "TempOption=1");
  WriteSettings(options);
  EXPECT_EQ(RunToEnd("AUTO MULT " + ReportParam()), 0u);
  EXPECT_EQ(Report(), "Results of \"Purge\" function...\r\n"
                      "\r\n"
                      "Processing \"Temp Folders\"\r\n"
                      "     Ignore files modified in the last 8 Hours\r\n"
                      "       deleted - " + UpperCase(old) + "\r\n"
                      "  Purge \"Temp Folders\" Function Completed. 1 Files/Directories Processed.\r\n"
                      " - - - - - - - - - - - - - - - - -\r\n"
                      "  Purge Functions Completed.\r\n");
  EXPECT_FALSE(Files().FileExists(old));
  EXPECT_TRUE(Files().FileExists(young));
}

TEST_F(RunModes, AReportThatCannotBeWrittenFailsTheRun) {
  WriteSettings(OptionSection("PnowOptions", 3));
  std::string unwritable = folder_ / "no such folder\\report.txt";
  EXPECT_EQ(RunToEnd("AUTO MULT \"Report=" + unwritable + "\""), 10u);
}

TEST_F(RunModes, DataParameterNamesTheFolderBelowApplicationData) {
  ASSERT_FALSE(Files().FolderExists(dataFolder_));
  ChildProcess& process = Start("AUTO MULT " + ReportParam());
  HWND window = WaitForWindow(process, kMainWindowClass, true, kRunLimitMs);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Files().FolderExists(dataFolder_));
  for (const char* name : {"Tidemark.ini", "Tidemark.Dat", "IEcookie.dat"})
    EXPECT_TRUE(Files().FileExists(JoinPath(dataFolder_, name))) << name;
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(process.WaitForExit(kRunLimitMs));

  // The display options come from the settings file in that folder: this one
  // lets the run end without the window.
  WriteSettings(OptionSection("PnowOptions", 3));
  EXPECT_EQ(RunToEnd("AUTO MULT " + ReportParam()), 9u);
}

TEST_F(RunModes, PauseWaitsTheGivenSecondsAndIgnoresBadValues) {
  WriteSettings(OptionSection("PnowOptions", 3));
  DWORD start = GetTickCount();
  EXPECT_EQ(RunToEnd("AUTO MULT Pause=2 " + ReportParam()), 9u);
  EXPECT_GE(GetTickCount() - start, 1900u);
  EXPECT_EQ(Report(), kNoOptionsReport);

  for (const char* pause : {"Pause=x", "Pause=-3", "Pause=0", "pause="}) {
    ASSERT_TRUE(Files().RemoveFile(reportFile_));
    EXPECT_EQ(RunToEnd(std::string("AUTO MULT ") + pause + " " + ReportParam()), 9u) << pause;
    EXPECT_EQ(Report(), kNoOptionsReport) << pause;
  }
}

TEST_F(RunModes, InitRefreshesTheManifestAndEndsWithoutAWindow) {
  std::string manifestT = program_ + ".ManifesT";
  std::string manifestX = program_ + ".ManifesX";
  std::string manifestI = program_ + ".ManifesI";
  std::string original = Files().ReadFile(manifestT).value_or("");
  ASSERT_FALSE(original.empty());

  // Without the installer's copy nothing changes.
  EXPECT_EQ(RunToEnd("INIT MULT"), 0u);
  EXPECT_EQ(Files().ReadFile(manifestT), original);
  EXPECT_FALSE(Files().FileExists(manifestX));

  // The installer's copy replaces ".ManifesT" when there is no ".ManifesX".
  ASSERT_TRUE(Files().WriteFile(manifestI, "installed manifest"));
  EXPECT_EQ(RunToEnd("INIT MULT"), 0u);
  EXPECT_EQ(Files().ReadFile(manifestT), "installed manifest");
  EXPECT_EQ(Files().ReadFile(manifestI), "installed manifest");

  // With themes switched off (".ManifesX") that one is replaced instead.
  ASSERT_TRUE(Files().WriteFile(manifestT, original));
  ASSERT_TRUE(Files().WriteFile(manifestX, "themes off"));
  ASSERT_TRUE(Files().WriteFile(manifestI, "second manifest"));
  EXPECT_EQ(RunToEnd("INIT MULT " + ReportParam()), 0u);
  EXPECT_EQ(Files().ReadFile(manifestX), "second manifest");
  EXPECT_EQ(Files().ReadFile(manifestT), original);
  EXPECT_FALSE(Files().FileExists(reportFile_));
}

// The startup entry of the user, put back as it was after the test.
class SavedRunValue {
 public:
  SavedRunValue() : saved_(Registry().ReadValue(platform::RegistryRoot::CurrentUser, kRunKey, "Tidemark")) {}
  ~SavedRunValue() {
    if (saved_)
      Registry().WriteValue(platform::RegistryRoot::CurrentUser, kRunKey, "Tidemark", *saved_);
    else
      Registry().DeleteValue(platform::RegistryRoot::CurrentUser, kRunKey, "Tidemark");
  }

 private:
  static platform::Registry& Registry() { return platform::RealRegistry(); }
  std::optional<platform::RegistryValue> saved_;
};

TEST_F(RunModes, UninstRemovesTheStartupEntryAndTheDataFiles) {
  SavedRunValue savedRunValue;
  platform::Registry& registry = platform::RealRegistry();
  ASSERT_TRUE(registry.WriteString(platform::RegistryRoot::CurrentUser, kRunKey, "Tidemark", "\"" + program_ + "\" BOOT"));
  ASSERT_TRUE(Files().CreateFolders(dataFolder_));
  for (const char* name : kDataFiles) ASSERT_TRUE(Files().WriteFile(JoinPath(dataFolder_, name), "data"));

  EXPECT_EQ(RunToEnd("UNINST MULT " + ReportParam()), 0u);
  EXPECT_FALSE(registry.ReadValue(platform::RegistryRoot::CurrentUser, kRunKey, "Tidemark").has_value());
  EXPECT_FALSE(Files().FolderExists(dataFolder_)) << "the emptied data folder is left";
  EXPECT_FALSE(Files().FileExists(reportFile_));
}

TEST_F(RunModes, UninstKeepsTheUsersOwnFilesAndTheirFolder) {
  SavedRunValue savedRunValue;
  ASSERT_TRUE(Files().CreateFolders(dataFolder_));
  for (const char* name : kDataFiles) ASSERT_TRUE(Files().WriteFile(JoinPath(dataFolder_, name), "data"));
  ASSERT_TRUE(Files().WriteFile(JoinPath(dataFolder_, "Notes.txt"), "mine"));

  EXPECT_EQ(RunToEnd("UNINST MULT"), 0u);
  for (const char* name : kDataFiles) EXPECT_FALSE(Files().FileExists(JoinPath(dataFolder_, name))) << name;
  EXPECT_EQ(Files().ReadFile(JoinPath(dataFolder_, "Notes.txt")), "mine");
}

// The program-error message box of the process: its text, then closed.
std::optional<std::string> AnswerProgramError(const ChildProcess& process) {
  DWORD start = GetTickCount();
  do {
    for (HWND box : test::WindowsOfProcess(process.id(), "#32770")) {
      if (test::TextOf(box) != "Tidemark  -  Program Error") continue;
      char text[1024] = {};
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return std::string(text);
    }
    if (!process.Running()) return std::nullopt;
    Sleep(100);
  } while (GetTickCount() - start < kRunLimitMs);
  return std::nullopt;
}

TEST_F(RunModes, FailureWhileCreatingTheMainWindowShowsTheProgramError) {
  WriteSettings(OptionSection("PnowOptions", 3));
  ChildProcess& process = Start("AUTO MULT AbortC1 " + ReportParam());
  std::optional<std::string> message = AnswerProgramError(process);
  ASSERT_TRUE(message.has_value()) << "no program-error message box";
  EXPECT_TRUE(StartsWith(*message, "Exception Test - FFoxMain - FormCreate -1")) << *message;
  ASSERT_TRUE(process.WaitForExit(kRunLimitMs));
  EXPECT_FALSE(Files().FileExists(reportFile_)) << "a purge ran without a main window";
}

TEST_F(RunModes, FailingExitCommandShowsTheProgramErrorAndEnds) {
  ChildProcess& process = Start("MULT AbortX");
  HWND window = WaitForWindow(process, kMainWindowClass, true, kRunLimitMs);
  ASSERT_NE(window, nullptr);
  HWND exitButton = FindWindowExA(window, nullptr, "Button", "E&xit");
  ASSERT_NE(exitButton, nullptr);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(exitButton), BN_CLICKED),
               reinterpret_cast<LPARAM>(exitButton));
  std::optional<std::string> message = AnswerProgramError(process);
  ASSERT_TRUE(message.has_value()) << "no program-error message box";
  EXPECT_TRUE(StartsWith(*message, "Exception Test - FFoxMain - Exit1click")) << *message;
  EXPECT_TRUE(process.WaitForExit(kRunLimitMs)) << "the program goes on after its error";
}

TEST_F(RunModes, FailingExitAfterAnUnattendedRunShowsTheProgramError) {
  WriteSettings(OptionSection("PnowOptions", 3));
  ChildProcess& process = Start("AUTO MULT AbortX " + ReportParam());
  std::optional<std::string> message = AnswerProgramError(process);
  ASSERT_TRUE(message.has_value()) << "no program-error message box; the process ended with code "
                                   << process.ExitCode();
  EXPECT_TRUE(StartsWith(*message, "Exception Test - FFoxMain - Exit1click")) << *message;
  EXPECT_TRUE(process.WaitForExit(kRunLimitMs));
  EXPECT_EQ(process.ExitCode(), 9);  // a program error is never reported as success
  EXPECT_EQ(Report(), kNoOptionsReport);
}

}  // namespace
}  // namespace tidemark::app
