// The power action over the real session with the calls that would end it
// (ExitWindowsEx, the POWRPROF functions) stood in for.
#include "schedule/power_action.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/ini_file.h"
#include "platform/session_win.h"
#include "settings/option_sets.h"
#include "support/sandbox_win.h"

namespace tidemark::schedule {
namespace {

using settings::ShutType;

class StandInSession : public platform::Win32Session {
 public:
  bool EnableShutdownPrivilege() override {
    privilegeAsked = true;
    return Win32Session::EnableShutdownPrivilege();
  }
  bool EndSession(uint32_t flags) override {
    exitFlags.push_back(flags);
    lastError_ = exitError;
    return exitError == 0;
  }
  std::optional<bool> GetActivePwrScheme() override { return power; }
  std::optional<bool> IsPwrSuspendAllowed() override { return suspendAllowed; }
  std::optional<bool> IsPwrHibernateAllowed() override { return hibernateAllowed; }
  std::optional<bool> SetSuspendState(bool hibernate) override {
    suspended.push_back(hibernate);
    return suspendAnswer;
  }

  DWORD exitError = 0;
  std::optional<bool> power = true, suspendAllowed = true, hibernateAllowed = true, suspendAnswer = true;
  bool privilegeAsked = false;
  std::vector<uint32_t> exitFlags;
  std::vector<bool> suspended;
};

struct Outcome {
  bool failed;
  std::vector<std::string> messages;
};

Outcome Perform(StandInSession& session, ShutType type, bool ntFamily = true) {
  Outcome run;
  run.failed = ShutdownAction(type, ntFamily, session, [&](const std::string& text) { run.messages.push_back(text); });
  return run;
}

TEST(PowerAction, EachShutTypeMakesItsCall) {
  struct Case {
    int shutType;
    std::vector<uint32_t> exitFlags;
    std::vector<bool> suspended;  // the hibernate argument of each SetSuspendState
  };
  const Case cases[] = {
      {0, {platform::kExitLogoff}, {}},   {1, {platform::kExitReboot}, {}},   {2, {platform::kExitShutdown}, {}},
      {3, {platform::kExitPoweroff}, {}}, {4, {}, {false}},                  {5, {}, {true}},
      {7, {platform::kExitLogoff}, {}},  // a value not listed logs off
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shutType);
    StandInSession session;
    Outcome run = Perform(session, static_cast<ShutType>(c.shutType));
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.messages.empty());
    EXPECT_TRUE(session.privilegeAsked);
    EXPECT_EQ(session.exitFlags, c.exitFlags);
    EXPECT_EQ(session.suspended, c.suspended);
  }
}

TEST(PowerAction, ShutTypeSevenInTheSettingsFileLogsOff) {
  test::TempFolder folder;
  std::string file = folder.Write("Tidemark.ini", "[ShutOptions]\r\nShutType=7\r\n");
  platform::PrivateProfileFile ini(file);
  StandInSession session;
  Perform(session, settings::LoadShutType(ini));
  EXPECT_EQ(session.exitFlags, std::vector<uint32_t>{platform::kExitLogoff});
}

TEST(PowerAction, PrivilegeIsOnlyAskedForOnTheNTFamily) {
  StandInSession session;
  Perform(session, ShutType::Reboot, false);
  EXPECT_FALSE(session.privilegeAsked);
  EXPECT_EQ(session.exitFlags, std::vector<uint32_t>{platform::kExitReboot});
}

TEST(PowerAction, FailingExitWindowsIsShownWithItsCode) {
  StandInSession session;
  session.exitError = ERROR_PRIVILEGE_NOT_HELD;
  Outcome run = Perform(session, ShutType::Shutdown);
  EXPECT_TRUE(run.failed);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0],
            "The shutdown function encountered a \r\n\r\nSystem Error attempting to shutdown Windows.\r\n\r\n"
            "The Error Code is Error-1314\r\n\r\nPress \"OK\" to exit.");
}

TEST(PowerAction, SuspendNotAllowedOrMissingIsShown) {
  const std::string standBy =
      "The shutdown function did not complete.\r\n\r\nThe \"StandBy\" Power Option was not allowed\r\n\r\n"
      "by the Operating System.\r\n\r\nPress \"OK\" to exit.";
  const std::string hibernate =
      "The shutdown function did not complete.\r\n\r\nThe \"Hibernate\" Power Option was not allowed\r\n\r\n"
      "by the Operating System.\r\n\r\nPress \"OK\" to exit.";
  struct Case {
    const char* name;
    ShutType type;
    std::optional<bool> allowed, answer, scheme;
    std::string message;
    size_t suspendCalls;
  };
  const Case cases[] = {
      {"stand-by refused", ShutType::StandBy, false, true, true, standBy, 0},
      {"no suspend function", ShutType::StandBy, std::nullopt, true, true, standBy, 0},
      {"suspend answers false", ShutType::StandBy, true, false, true, standBy, 1},
      {"no SetSuspendState", ShutType::StandBy, true, std::nullopt, true, standBy, 1},
      {"hibernate refused", ShutType::Hibernate, false, true, true, hibernate, 0},
      {"no hibernate function", ShutType::Hibernate, std::nullopt, true, true, hibernate, 0},
      {"no GetActivePwrScheme is no obstacle", ShutType::Hibernate, true, true, std::nullopt, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StandInSession session;
    (c.type == ShutType::StandBy ? session.suspendAllowed : session.hibernateAllowed) = c.allowed;
    session.suspendAnswer = c.answer;
    session.power = c.scheme;
    Outcome run = Perform(session, c.type);
    EXPECT_EQ(run.failed, !c.message.empty());
    EXPECT_EQ(run.messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(session.suspended.size(), c.suspendCalls);
    EXPECT_TRUE(session.exitFlags.empty());
  }
}

}  // namespace
}  // namespace tidemark::schedule
