// What a run leaves to Windows, over the real system with the calls that would end the session stood in for; the
// reboot program's deletions are carried out by "wineboot -r".
#include <gtest/gtest.h>
#include <windows.h>

#include <future>

#include "app/child_process_win.h"
#include "platform/files_win.h"
#include "platform/process_win.h"
#include "platform/session_win.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "schedule/boot_list.h"
#include "schedule/power_action.h"
#include "schedule/reboot_purge.h"
#include "schedule/startup_entry.h"
#include "support/sandbox_win.h"

namespace tidemark::schedule {
namespace {

using Calls = std::vector<std::string>;

class StandInSession : public platform::Win32Session {
 public:
  bool EnableShutdownPrivilege() override { return calls.push_back("privilege"), true; }
  bool EndSession(uint32_t flags) override {
    calls.push_back("exit " + std::to_string(flags));
    return exitError == 0 || Fail(exitError);
  }
  std::optional<bool> GetActivePwrScheme() override { return std::nullopt; }  // a missing one is no obstacle
  bool IsAdministrator() override { return administrator; }
  std::optional<bool> IsPwrSuspendAllowed() override { return suspendAllowed; }
  std::optional<bool> IsPwrHibernateAllowed() override { return hibernateAllowed; }
  std::optional<bool> SetSuspendState(bool hibernate) override {
    return calls.push_back(hibernate ? "hibernate" : "stand by"), suspendAnswer;
  }
  DWORD exitError = 0;
  bool administrator = true;
  std::optional<bool> suspendAllowed = true, hibernateAllowed = true, suspendAnswer = true;
  Calls calls;  // then the message shown
};

TEST(PowerAction, EachShutTypeMakesItsCallAndAFailureIsShown) {
  auto notAllowed = [](std::string option) {
    return "The shutdown function did not complete.\r\n\r\nThe \"" + option +
           "\" Power Option was not allowed\r\n\r\nby the Operating System.\r\n\r\nPress \"OK\" to exit.";
  };
  const std::string exitFailed =
      "The shutdown function encountered a \r\n\r\nSystem Error attempting to shutdown "
      "Windows.\r\n\r\nThe Error Code is Error-1314\r\n\r\nPress \"OK\" to exit.";
  const struct {
    int type;
    Calls calls;
    bool ntFamily = true;
    DWORD exitError = 0;
    std::optional<bool> allowed = true, answer = true;
  } cases[] = {
      {.type = 0, .calls = {"privilege", "exit 0"}},
      {.type = 7, .calls = {"privilege", "exit 0"}},        // a value not listed logs off
      {.type = 1, .calls = {"exit 2"}, .ntFamily = false},  // no privilege outside the NT family
      {.type = 3, .calls = {"privilege", "exit 8"}},
      {.type = 2, .calls = {"privilege", "exit 1", exitFailed}, .exitError = ERROR_PRIVILEGE_NOT_HELD},
      {.type = 4, .calls = {"privilege", "stand by", notAllowed("StandBy")}, .answer = std::nullopt},
      {.type = 5, .calls = {"privilege", notAllowed("Hibernate")}, .allowed = std::nullopt},
      {.type = 5, .calls = {"privilege", "hibernate"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " " << testing::PrintToString(c.calls));
    StandInSession session;
    session.exitError = c.exitError;
    (c.type == 4 ? session.suspendAllowed : session.hibernateAllowed) = c.allowed;
    session.suspendAnswer = c.answer;
    const bool shown = ShutdownAction(static_cast<settings::ShutType>(c.type), c.ntFamily, session,
                                      [&](const std::string& text) { session.calls.push_back(text); });
    EXPECT_EQ(session.calls, c.calls);
    EXPECT_EQ(shown, c.calls.back().starts_with("The shutdown function")) << "a message is shown";
  }
}

TEST(StartupEntry, CountsAsSetByTheEndOfItsDataAndIsTheQuotedShortPathInUpperCase) {
  using enum platform::RegistryType;
  const std::tuple<platform::RegistryType, const char*, bool> cases[] = {
      {String, "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT", true},
      {String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\" AUTO", false},
      {Binary, "\"C:\\TIDEMARK.EXE\" BOOT", false}};
  platform::Registry& registry = platform::RealRegistry();
  for (const auto& [type, data, set] : cases) {
    test::TempRegistryKey run;
    ASSERT_TRUE(registry.WriteValue(platform::RegistryRoot::CurrentUser, run.path(), kStartupValueName, {type, data}));
    EXPECT_EQ(StartupEntryIsSet(registry, run.path()), set) << data;
  }
  test::TempRegistryKey parent;
  EXPECT_FALSE(StartupEntryIsSet(registry, parent.path()));
  EXPECT_TRUE(RemoveStartupEntry(registry, parent.path() + "\\NoSuchKey"));  // nothing to remove: a success
  EXPECT_EQ(StartupRunValue("C:\\Program Files\\Tidemark\\Tidemark.exe", "C:\\PROGRA~1\\TIDEMARK\\Tidemark.exe"),
            "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT");
  EXPECT_EQ(StartupRunValue("D:\\My Tidemark\\tidemark.exe", ""), "\"D:\\MY TIDEMARK\\TIDEMARK.EXE\" BOOT");
}

platform::FileSystem& Files() { return platform::RealFileSystem(); }

// Records each start ("verb program folder parameters") instead of making it, or fails it with failWith.
class RecordedProcesses : public platform::Win32Processes {
 public:
  bool ShellRunAndWait(const std::string& verb, const std::string& program, const std::string& folder,
                       const std::string& parameters) override {
    starts.push_back(verb + " " + program + " " + folder + " " + parameters);
    return failWith ? Fail(failWith) : true;
  }
  DWORD failWith = 0;
  Calls starts;
};

struct DiskFull : platform::Win32FileSystem {
  bool WriteFile(const std::string& path, const std::string& content) override {
    return Win32FileSystem::WriteFile(path, content.substr(0, content.size() / 2)), Fail(ERROR_DISK_FULL);
  }
};

std::string Told(const std::optional<RebootPurgeMessage>& message) {
  return message ? message->caption + "|" + message->text : "nothing";
}

TEST(RebootPurge, BootListIsReplacedWholeTheProgramStartedQuotedAndEachFailureTold) {
  test::TempFolder data, program;
  RecordedProcesses processes;
  StandInSession administrator, user;
  user.administrator = false;
  RebootPurgeInputs inputs{"C:\\Program Files\\Tidemark", data.path(), true};
  locations::IELocations first{
      .IECacheFolder = "C:\\Cache", .IECookiesFolder = "C:\\Cookies", .DomStoreFolder = "C:\\D"};
  const std::string list = data / "PurgBoot.dat",
                    secondList = "Tidemark\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nD:\\Low\r\n";
  // The list, and whether a new one was left beside it.
  auto listNow = [&] { return *Files().ReadFile(list) + (Files().FileExists(list + ".new") ? "+.new" : ""); };
  EXPECT_EQ(Told(PurgeIndexAtReboot(inputs, first, Files(), processes, administrator)), "nothing");
  EXPECT_EQ(listNow(), "Tidemark\r\nC:\\Cache\r\nC:\\Cookies\r\n\r\n\r\n\r\n\r\n\r\n\r\nC:\\D\r\n\r\n");
  // Chosen again over a read-only list: the file is the new list alone.
  ASSERT_TRUE(Files().SetAttributes(list, platform::kAttrReadOnly));
  EXPECT_EQ(Told(PurgeIndexAtReboot(inputs, {.LowDomStoreFolder = "D:\\Low"}, Files(), processes, administrator)),
            "nothing");
  EXPECT_EQ(listNow(), secondList);
  EXPECT_EQ(processes.starts, Calls(2, "open \"" + inputs.programFolder + "\\PurgIndx.exe\" \"" + inputs.programFolder +
                                           "\" \"" + list + "\""));
  EXPECT_EQ(ElevationVerb(false, false), "open");  // no administrator prompt outside the NT family

  processes.starts.clear();
  processes.failWith = kErrorCancelled;
  // A list that cannot be written whole leaves the last one as it was.
  DiskFull full;
  EXPECT_EQ(Told(PurgeIndexAtReboot(inputs, first, full, processes, user)),
            "Tidemark -  Message|The Purge at Reboot function failed.\r\n\r\nPlease notify the vendor.");
  EXPECT_EQ(listNow(), secondList);
  inputs.programFolder = program.path();
  EXPECT_EQ(Told(PurgeIndexAtReboot(inputs, {}, Files(), processes, user)),
            "Tidemark  -  Message|The Purge at Reboot program was not started: the request for administrator rights "
            "was declined.\r\n\r\nThe Internet Explorer index files will not be deleted at the next reboot.");
  EXPECT_TRUE(processes.starts.at(0).starts_with("runas ")) << processes.starts.at(0);
  EXPECT_TRUE(Files().FileExists(list)) << "a start that fails leaves the list";
}

// Answers the message box of the reboot program (another process): its text, empty when none came in a minute.
std::future<std::string> AnswerRebootBox() {
  return std::async(std::launch::async, [] {
    char text[4096] = "";
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100))
      if (HWND box = FindWindowA("#32770", kRebootCaption); box && GetDlgItemTextA(box, 0xFFFF, text, 4096))
        return PostMessageA(box, WM_COMMAND, IDOK, 0), std::string(text);
    return std::string();
  });
}

TEST(RebootProgram, SchedulesOnlyIndexFilesBelowTheProfileAndARestartDeletesThem) {
  if (!Files().FileExists(TIDEMARK_REBOOT_PROGRAM)) GTEST_SKIP() << TIDEMARK_REBOOT_PROGRAM << " is not built";
  // The tests that restart take turns: a restart carries out every deletion scheduled so far.
  HANDLE turn = CreateMutexA(nullptr, FALSE, "TidemarkTestsRestart");
  WaitForSingleObject(turn, INFINITE);
  test::TempFolder scratch;  // below the profile folder, as the user's temp folder is
  ASSERT_TRUE(IsBelowFolder(scratch.path(), platform::RealShell().GetSpecialFolder(platform::csidl::kProfile).path));
  std::string program = scratch.Write("Program Files Test\\PurgIndx.exe", ""), cache = scratch / "Content.IE5";
  std::string outside = "C:\\tmreboot" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(Files().CopyFileTo(TIDEMARK_REBOOT_PROGRAM, program, false));
  ASSERT_TRUE(Files().CreateFolders(outside) && Files().WriteFile(outside + "\\index.dat", "x"));
  const std::string index[] = {scratch.Write("Content.IE5\\index.dat", "x"),
                               scratch.Write("Content.IE5\\AB12CD34\\index.dat", "x")};
  const std::string kept[] = {scratch.Write("Content.IE5\\AB12CD34\\page[1].htm", "x"),
                              scratch.Write("Content.IE5\\index.dat.old", "x"), outside + "\\index.dat"};

  // A list without the product line is refused.
  std::string foreign = scratch.Write("Foreign.dat", "Tidemark Purge\r\n" + cache + "\r\n");
  auto refusal = AnswerRebootBox();
  EXPECT_EQ(test::ChildProcess("\"" + program + "\" \"" + foreign + "\"").WaitForExit(), 2u);
  EXPECT_EQ(refusal.get(), "The file " + foreign + " is not a Tidemark boot list.\r\n\r\nNothing was scheduled.");

  // The cookies folder is outside the profile folder: never acted on.
  locations::IELocations ie{.IECacheFolder = cache, .IECookiesFolder = outside, .IEHistoryFolder = scratch / "None"};
  auto answer = AnswerRebootBox();
  EXPECT_EQ(Told(PurgeIndexAtReboot({ParentFolder(program), scratch.path(), true}, ie, Files(),
                                    platform::RealProcesses(), platform::RealSession())),
            "nothing");
  // 2 folders and 7 empty lines skipped
  EXPECT_EQ(answer.get(),
            "2 index.dat file(s) will be deleted at the next restart of Windows.\r\n\r\n0 could not be "
            "scheduled.\r\n\r\n9 entries of the list were skipped (not found, a link, or outside your "
            "profile folder).");
  EXPECT_TRUE(Files().FileExists(index[0]) && Files().FileExists(index[1]));
  ASSERT_TRUE(test::ChildProcess("wineboot.exe -r").WaitForExit(120000)) << "the restart did not end";
  EXPECT_FALSE(Files().FileExists(index[0]) || Files().FileExists(index[1]));
  for (const std::string& file : kept) EXPECT_TRUE(Files().FileExists(file)) << file;
  test::RemoveTree(outside);
  ReleaseMutex(turn);
  CloseHandle(turn);
}

}  // namespace
}  // namespace tidemark::schedule
