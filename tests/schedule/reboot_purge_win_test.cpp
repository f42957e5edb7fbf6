// Purge at next reboot: the boot list, the start of the reboot program and
// what the user is told, and the reboot program itself under Wine, where
// "wineboot -r" carries out the deletions it scheduled.
#include <gtest/gtest.h>

#include <thread>

#include "app/child_process_win.h"
#include "platform/files_win.h"
#include "platform/process_win.h"
#include "platform/session_win.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "schedule/boot_list.h"
#include "schedule/reboot_purge.h"
#include "support/sandbox_win.h"

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

// A full disk: a write stops half-way and fails.
struct DiskFull : platform::Win32FileSystem {
  bool WriteFile(const std::string& path, const std::string& content) override {
    return Win32FileSystem::WriteFile(path, content.substr(0, content.size() / 2)), Fail(ERROR_DISK_FULL);
  }
};

struct Administrator : platform::Win32Session {
  explicit Administrator(bool is) : is(is) {}
  bool IsAdministrator() override { return is; }
  bool is;
};

TEST(RebootPurge, BootListIsReplacedWholeTheProgramStartedQuotedAndEachFailureTold) {
  test::TempFolder data, program;
  RecordedProcesses processes;
  Administrator administrator(true), user(false);
  RebootPurgeInputs inputs{"C:\\Program Files\\Tidemark", data.path(), true};
  locations::IELocations first, second;
  first.IECacheFolder = "C:\\Cache", first.IECookiesFolder = "C:\\Cookies", first.DomStoreFolder = "C:\\DOMStore";
  second.LowDomStoreFolder = "D:\\Low DOM";
  std::string list = data / "PurgBoot.dat";
  ASSERT_FALSE(PurgeIndexAtReboot(inputs, first, Files(), processes, administrator));
  EXPECT_EQ(Files().ReadFile(list),
            "Tidemark\r\nC:\\Cache\r\nC:\\Cookies\r\n\r\n\r\n\r\n\r\n\r\n\r\nC:\\DOMStore\r\n\r\n");
  // Chosen again over a read-only list: the file is the new list alone.
  ASSERT_TRUE(Files().SetAttributes(list, platform::kAttrReadOnly));
  ASSERT_FALSE(PurgeIndexAtReboot(inputs, second, Files(), processes, administrator));
  EXPECT_EQ(Files().ReadFile(list), "Tidemark\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nD:\\Low DOM\r\n");
  EXPECT_FALSE(Files().FileExists(list + ".new"));
  ASSERT_EQ(processes.starts.size(), 2u);
  EXPECT_EQ(processes.starts[0], (std::array<std::string, 4>{"open", "\"C:\\Program Files\\Tidemark\\PurgIndx.exe\"",
                                                             "\"C:\\Program Files\\Tidemark\"", "\"" + list + "\""}));
  EXPECT_EQ(ElevationVerb(false, false), "open");  // no administrator prompt outside the NT family

  processes.starts.clear();
  processes.failWith = kErrorCancelled;
  // A list that cannot be written whole leaves the last one as it was.
  DiskFull full;
  auto unwritten = PurgeIndexAtReboot(inputs, first, full, processes, user);
  ASSERT_TRUE(unwritten);
  EXPECT_EQ(unwritten->caption, "Tidemark -  Message");
  EXPECT_EQ(unwritten->text, "The Purge at Reboot function failed.\r\n\r\nPlease notify the vendor.");
  EXPECT_TRUE(processes.starts.empty());
  EXPECT_EQ(Files().ReadFile(list), "Tidemark\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nD:\\Low DOM\r\n");
  EXPECT_FALSE(Files().FileExists(list + ".new"));
  inputs.programFolder = program.path();
  auto declined = PurgeIndexAtReboot(inputs, {}, Files(), processes, user);
  ASSERT_TRUE(declined);
  EXPECT_EQ(declined->text,
            "The Purge at Reboot program was not started: the request for administrator rights was declined.\r\n\r\n"
            "The Internet Explorer index files will not be deleted at the next reboot.");
  EXPECT_EQ(processes.starts.at(0)[0], "runas");
  // The program is not there: the real start fails, and the list stays.
  auto missing = PurgeIndexAtReboot(inputs, {}, Files(), platform::RealProcesses(), user);
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->caption, "Tidemark  -  Message");
  EXPECT_NE(missing->text.find("could not be started:\r\n" + (program / "PurgIndx.exe")), std::string::npos)
      << missing->text;
  EXPECT_NE(missing->text.find("Error-2  " + user.ErrorText(2)), std::string::npos) << missing->text;
  EXPECT_TRUE(Files().FileExists(list));
}

// Answers the message box with the caption that another program shows: its text, empty when none came.
class MessageBoxAnswer {
 public:
  explicit MessageBoxAnswer(std::string caption)
      : thread_([this, caption] {
          char text[4096] = "";
          for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100))
            if (HWND box = FindWindowA("#32770", caption.c_str()); box && GetDlgItemTextA(box, 0xFFFF, text, 4096))
              return text_ = text, void(PostMessageA(box, WM_COMMAND, IDOK, 0));
        }) {}
  const std::string& Wait() { return thread_.join(), text_; }

 private:
  std::string text_;
  std::jthread thread_;
};

// Runs a command line to its end; its exit code, 255 when it did not end in two minutes.
DWORD RunToEnd(const std::string& commandLine) {
  test::ChildProcess process(commandLine);
  return process.WaitForExit(120000) ? process.ExitCode() : 255;
}

TEST(RebootProgram, SchedulesOnlyIndexFilesBelowTheProfileAndARestartDeletesThem) {
  if (!Files().FileExists(TIDEMARK_REBOOT_PROGRAM)) GTEST_SKIP() << TIDEMARK_REBOOT_PROGRAM << " is not built";
  // The tests that restart take turns: a restart carries out every deletion scheduled so far.
  HANDLE turn = CreateMutexA(nullptr, FALSE, "TidemarkTestsRestart");
  WaitForSingleObject(turn, INFINITE);
  test::TempFolder scratch;  // below the profile folder, as the user's temp folder is
  ASSERT_TRUE(IsBelowFolder(scratch.path(), platform::RealShell().GetSpecialFolder(platform::csidl::kProfile).path));
  std::string program = scratch / "Program Files Test\\PurgIndx.exe", cache = scratch / "Content.IE5";
  std::string outside = "C:\\tmreboot" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(Files().CreateFolders(ParentFolder(program)) && Files().CreateFolders(outside));
  ASSERT_TRUE(Files().CopyFileTo(TIDEMARK_REBOOT_PROGRAM, program, false));
  const std::string index[] = {scratch.Write("Content.IE5\\index.dat", "x"),
                               scratch.Write("Content.IE5\\AB12CD34\\index.dat", "x")};
  const std::string kept[] = {scratch.Write("Content.IE5\\AB12CD34\\page[1].htm", "x"),
                              scratch.Write("Content.IE5\\index.dat.old", "x"), outside + "\\index.dat"};
  ASSERT_TRUE(Files().WriteFile(kept[2], "x"));

  // A list without the product line is refused.
  std::string foreign = scratch.Write("Foreign.dat", "Tidemark Purge\r\n" + cache + "\r\n");
  MessageBoxAnswer refusal(kRebootCaption);
  EXPECT_EQ(RunToEnd("\"" + program + "\" \"" + foreign + "\""), 2u);
  EXPECT_EQ(refusal.Wait(), "The file " + foreign + " is not a Tidemark boot list.\r\n\r\nNothing was scheduled.");

  locations::IELocations ie;
  ie.IECacheFolder = cache;
  ie.IECookiesFolder = outside;  // outside the profile folder: never acted on
  ie.IEHistoryFolder = scratch / "NoSuchFolder";
  MessageBoxAnswer answer(kRebootCaption);
  auto message = PurgeIndexAtReboot({ParentFolder(program), scratch.path(), true}, ie, Files(),
                                    platform::RealProcesses(), platform::RealSession());
  EXPECT_FALSE(message) << message->text;
  const std::string& shown = answer.Wait();
  EXPECT_NE(shown.find("2 index.dat file(s) will be deleted at the next restart"), std::string::npos) << shown;
  EXPECT_NE(shown.find("0 could not be scheduled."), std::string::npos) << shown;
  EXPECT_NE(shown.find("9 entries of the list were skipped"), std::string::npos) << shown;  // 2 folders, 7 empty lines
  EXPECT_TRUE(Files().FileExists(index[0]) && Files().FileExists(index[1]));
  ASSERT_NE(RunToEnd("wineboot.exe -r"), 255u) << "the restart did not end";
  EXPECT_FALSE(Files().FileExists(index[0]) || Files().FileExists(index[1]));
  for (const std::string& file : kept) EXPECT_TRUE(Files().FileExists(file)) << file;
  test::RemoveTree(outside);
  ReleaseMutex(turn);
  CloseHandle(turn);
}

}  // namespace
}  // namespace tidemark::schedule
