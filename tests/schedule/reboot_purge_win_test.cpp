// Purge at next reboot: the boot list, the start of the reboot program and
// what the user is told, and the reboot program itself end to end under
// Wine, where "wineboot -r" carries out the deletions it scheduled.
#include "schedule/reboot_purge.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/files_win.h"
#include "platform/process_win.h"
#include "platform/session_win.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "schedule/boot_list.h"
#include "support/sandbox_win.h"
#include "message_box_win.h"

namespace tidemark::schedule {
namespace {

platform::FileSystem& Files() { return platform::RealFileSystem(); }

// Records each start instead of making it, or fails it with an error code.
class RecordedProcesses : public platform::Win32Processes {
 public:
  bool ShellRunAndWait(const std::string& verb, const std::string& program, const std::string& folder,
                       const std::string& parameters) override {
    starts.push_back({verb, program, folder, parameters});
    return failWith ? Fail(failWith) : true;
  }
  DWORD failWith = 0;
  std::vector<std::array<std::string, 4>> starts;
};

class Administrator : public platform::Win32Session {
 public:
  explicit Administrator(bool is) : is_(is) {}
  bool IsAdministrator() override { return is_; }

 private:
  bool is_;
};

locations::IELocations SomeLocations(const std::string& root) {
  locations::IELocations ie;
  ie.IECacheFolder = root + "\\Cache";
  ie.IECookiesFolder = root + "\\Cookies";
  ie.IEHistoryFolder = root + "\\History";
  ie.LowCacheFolder = root + "\\Cache\\Low";
  ie.DomStoreFolder = root + "\\DOMStore";
  return ie;  // the other folders were not found
}

TEST(RebootPurge, BootListHoldsTheElevenLinesAndIsRewrittenWhole) {
  test::TempFolder data;
  RecordedProcesses processes;
  Administrator session(true);
  RebootPurgeInputs inputs{"C:\\Program Files\\Tidemark", data.path(), true};
  locations::IELocations first = SomeLocations("C:\\Users\\Ann\\Local");
  ASSERT_FALSE(PurgeIndexAtReboot(inputs, first, Files(), processes, session));
  const std::string expected =
      "Tidemark\r\nC:\\Users\\Ann\\Local\\Cache\r\nC:\\Users\\Ann\\Local\\Cookies\r\nC:\\Users\\Ann\\Local\\History\r\n"
      "C:\\Users\\Ann\\Local\\Cache\\Low\r\n\r\n\r\n\r\n\r\nC:\\Users\\Ann\\Local\\DOMStore\r\n\r\n";
  std::string list = data / "PurgBoot.dat";
  EXPECT_EQ(Files().ReadFile(list).value_or(""), expected);

  // Chosen again (over a read-only list): the file is the new list alone.
  ASSERT_TRUE(Files().SetAttributes(list, platform::kAttrReadOnly));
  locations::IELocations second;
  second.IECacheFolder = "D:\\Cache";
  second.LowDomStoreFolder = "D:\\Low DOM";
  ASSERT_FALSE(PurgeIndexAtReboot(inputs, second, Files(), processes, session));
  EXPECT_EQ(Files().ReadFile(list).value_or(""), "Tidemark\r\nD:\\Cache\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nD:\\Low DOM\r\n");
  EXPECT_FALSE(Files().FileExists(list + ".new"));

  // All three strings quoted, so folders with blanks arrive whole.
  ASSERT_EQ(processes.starts.size(), 2u);
  EXPECT_EQ(processes.starts[0],
            (std::array<std::string, 4>{"open", "\"C:\\Program Files\\Tidemark\\PurgIndx.exe\"",
                                        "\"C:\\Program Files\\Tidemark\"", "\"" + list + "\""}));
}

TEST(RebootPurge, RunasOnlyWhenTheUserIsNoAdministrator) {
  struct Case {
    bool ntFamily, administrator;
    const char* verb;
  };
  for (const Case& c : {Case{true, false, "runas"}, Case{true, true, "open"}, Case{false, false, "open"}}) {
    EXPECT_EQ(ElevationVerb(c.ntFamily, c.administrator), c.verb);
    RecordedProcesses processes;
    Administrator session(c.administrator);
    KeptError kept;
    ASSERT_TRUE(RunElevatedAndWait(processes, session, c.ntFamily, "p.exe", "C:\\", "x", kept));
    EXPECT_EQ(processes.starts.at(0)[0], c.verb);
  }
}

TEST(RebootPurge, AProgramThatDidNotStartIsTold) {
  test::TempFolder data, program;
  Administrator session(false);
  RebootPurgeInputs inputs{program.path(), data.path(), true};

  // The program is not there: the real start fails.
  auto missing = PurgeIndexAtReboot(inputs, SomeLocations("C:\\x"), Files(), platform::RealProcesses(), session);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->caption, "Tidemark  -  Message");
  EXPECT_NE(missing->text.find("could not be started:\r\n" + (program / "PurgIndx.exe")), std::string::npos)
      << missing->text;
  EXPECT_NE(missing->text.find("Error-2  " + session.ErrorText(2)), std::string::npos) << missing->text;
  EXPECT_TRUE(Files().FileExists(data / "PurgBoot.dat"));

  // The user declined the administrator prompt.
  RecordedProcesses declined;
  declined.failWith = kErrorCancelled;
  auto message = PurgeIndexAtReboot(inputs, SomeLocations("C:\\x"), Files(), declined, session);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->text,
            "The Purge at Reboot program was not started: the request for administrator rights was declined.\r\n\r\n"
            "The Internet Explorer index files will not be deleted at the next reboot.");
  EXPECT_EQ(declined.starts.at(0)[0], "runas");
  EXPECT_TRUE(Files().FileExists(data / "PurgBoot.dat"));
}

TEST(RebootPurge, AListThatCannotBeWrittenEndsInTheFailureMessage) {
  test::TempFolder data;
  RecordedProcesses processes;
  Administrator session(true);
  auto message = PurgeIndexAtReboot({"C:\\Tidemark", data / "missing", true}, {}, Files(), processes, session);
  ASSERT_TRUE(message);
  EXPECT_EQ(message->caption, "Tidemark -  Message");
  EXPECT_EQ(message->text, "The Purge at Reboot function failed.\r\n\r\nPlease notify the vendor.");
  EXPECT_TRUE(processes.starts.empty());
}

// A scratch folder in a folder of the test's choice, removed afterwards.
class FolderIn {
 public:
  explicit FolderIn(const std::string& parent) {
    if (!parent.empty()) path_ = JoinPath(parent, "tmreboot" + std::to_string(GetCurrentProcessId()));
    Files().CreateFolders(path_);
  }
  ~FolderIn() { test::RemoveTree(path_); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ProfilePath() {
  platform::SpecialFolder profile = platform::RealShell().GetSpecialFolder(platform::csidl::kProfile);
  return profile.found ? profile.path : "";
}

// The tests that restart take turns: a restart carries out every deletion
// scheduled so far.
class RestartTurn {
 public:
  RestartTurn() : mutex_(CreateMutexA(nullptr, FALSE, "TidemarkTestsRestart")) {
    WaitForSingleObject(mutex_, INFINITE);
  }
  ~RestartTurn() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  RestartTurn(const RestartTurn&) = delete;
  RestartTurn& operator=(const RestartTurn&) = delete;

 private:
  HANDLE mutex_;
};

std::string Write(const std::string& path, const std::string& content = "index") {
  Files().CreateFolders(ParentFolder(path));
  Files().WriteFile(path, content);
  return path;
}

bool RunAndWait(const std::string& commandLine, DWORD limitMs, DWORD* exitCode = nullptr) {
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION process{};
  std::string line = commandLine;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  bool ended = WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0;
  if (exitCode) GetExitCodeProcess(process.hProcess, exitCode);
  if (!ended) TerminateProcess(process.hProcess, 255);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

class RebootProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Files().FileExists(TIDEMARK_REBOOT_PROGRAM)) GTEST_SKIP() << TIDEMARK_REBOOT_PROGRAM << " is not built";
    ASSERT_FALSE(profile.path().empty());
    // A program folder with blanks, as under "Program Files".
    programFolder = scratch / "Program Files Test";
    ASSERT_TRUE(Files().CreateFolders(programFolder));
    ASSERT_TRUE(Files().CopyFileTo(TIDEMARK_REBOOT_PROGRAM, JoinPath(programFolder, kRebootProgram), false));
  }

  RestartTurn turn;
  test::TempFolder scratch;
  FolderIn profile{ProfilePath()};
  FolderIn outsideProfile{"C:"};
  std::string programFolder;
};

TEST_F(RebootProgram, MenuActionSchedulesTheIndexFilesAndARestartDeletesThem) {
  std::string cache = JoinPath(profile.path(), "Content.IE5");
  std::string index = Write(JoinPath(cache, "index.dat"));
  std::string nested = Write(JoinPath(cache, "AB12CD34\\index.dat"));
  std::string other = Write(JoinPath(cache, "AB12CD34\\page[1].htm"));
  std::string lookalike = Write(JoinPath(cache, "index.dat.old"));
  // A folder outside the profile folder is never acted on.
  std::string outside = Write(JoinPath(outsideProfile.path(), "index.dat"));

  locations::IELocations ie;
  ie.IECacheFolder = cache;
  ie.IECookiesFolder = ParentFolder(outside);
  ie.IEHistoryFolder = JoinPath(profile.path(), "NoSuchFolder");
  std::string data = scratch / "Data Folder";
  ASSERT_TRUE(Files().CreateFolders(data));

  test::MessageBoxAnswer answer(kRebootCaption);
  auto message = PurgeIndexAtReboot({programFolder, data, true}, ie, Files(), platform::RealProcesses(),
                                    platform::RealSession());
  EXPECT_FALSE(message) << (message ? message->text : "");
  const std::string& shown = answer.Wait();
  EXPECT_NE(shown.find("2 index.dat file(s) will be deleted at the next restart"), std::string::npos) << shown;
  EXPECT_NE(shown.find("0 could not be scheduled."), std::string::npos) << shown;
  // The outside folder, the missing one and the seven empty lines.
  EXPECT_NE(shown.find("9 entries of the list were skipped"), std::string::npos) << shown;
  for (const std::string& file : {index, nested, other, lookalike, outside}) EXPECT_TRUE(Files().FileExists(file));

  ASSERT_TRUE(RunAndWait("wineboot.exe -r", 120000));
  EXPECT_FALSE(Files().FileExists(index));
  EXPECT_FALSE(Files().FileExists(nested));
  for (const std::string& file : {other, lookalike, outside}) EXPECT_TRUE(Files().FileExists(file)) << file;
}

TEST_F(RebootProgram, AListWithoutTheProductLineIsRefused) {
  std::string index = Write(JoinPath(profile.path(), "Cache\\index.dat"));
  for (const std::string& text :
       {"Tidemark Purge\r\n" + ParentFolder(index) + "\r\n", "\r\nTidemark\r\n" + ParentFolder(index) + "\r\n"}) {
    std::string list = Write(scratch / "PurgBoot.dat", text);
    test::MessageBoxAnswer answer(kRebootCaption);
    DWORD exitCode = 0;
    ASSERT_TRUE(RunAndWait("\"" + JoinPath(programFolder, kRebootProgram) + "\" \"" + list + "\"", 60000, &exitCode));
    EXPECT_EQ(answer.Wait(), "The file " + list + " is not a Tidemark boot list.\r\n\r\nNothing was scheduled.");
    EXPECT_EQ(exitCode, 2u);
  }
  ASSERT_TRUE(RunAndWait("wineboot.exe -r", 120000));
  EXPECT_TRUE(Files().FileExists(index));
}

}  // namespace
}  // namespace tidemark::schedule
