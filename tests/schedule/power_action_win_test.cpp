// The power action over the real session with the calls that would end it
// (ExitWindowsEx, the POWRPROF functions) stood in for.
#include "schedule/power_action.h"

#include <gtest/gtest.h>

#include "platform/session_win.h"

namespace tidemark::schedule {
namespace {

using settings::ShutType;
using Calls = std::vector<std::string>;

class StandInSession : public platform::Win32Session {
 public:
  bool EnableShutdownPrivilege() override { return calls.push_back("privilege"), Win32Session::EnableShutdownPrivilege(); }
  bool EndSession(uint32_t flags) override {
    calls.push_back("exit " + std::to_string(flags));
    lastError_ = exitError;
    return exitError == 0;
  }
  std::optional<bool> GetActivePwrScheme() override { return scheme; }
  std::optional<bool> IsPwrSuspendAllowed() override { return suspendAllowed; }
  std::optional<bool> IsPwrHibernateAllowed() override { return hibernateAllowed; }
  std::optional<bool> SetSuspendState(bool hibernate) override {
    calls.push_back(hibernate ? "hibernate" : "stand by");
    return suspendAnswer;
  }
  DWORD exitError = 0;
  std::optional<bool> scheme = true, suspendAllowed = true, hibernateAllowed = true, suspendAnswer = true;
  Calls calls;
};

std::string NotAllowed(const char* option) {
  return "The shutdown function did not complete.\r\n\r\nThe \"" + std::string(option) +
         "\" Power Option was not allowed\r\n\r\nby the Operating System.\r\n\r\nPress \"OK\" to exit.";
}

TEST(PowerAction, EachShutTypeMakesItsCallAndAFailureIsShown) {
  const std::string exitFailed = "The shutdown function encountered a \r\n\r\nSystem Error attempting to shutdown "
                                 "Windows.\r\n\r\nThe Error Code is Error-1314\r\n\r\nPress \"OK\" to exit.";
  const std::nullopt_t none = std::nullopt;
  const struct {
    int type;
    bool ntFamily = true;
    DWORD exitError = 0;
    std::optional<bool> allowed = true, answer = true, scheme = true;
    Calls calls;
    std::string message = "";
  } cases[] = {
      {0, true, 0, true, true, true, {"privilege", "exit 0"}},
      {1, false, 0, true, true, true, {"exit 2"}},  // no privilege outside the NT family
      {2, true, 0, true, true, true, {"privilege", "exit 1"}},
      {3, true, 0, true, true, true, {"privilege", "exit 8"}},
      {7, true, 0, true, true, true, {"privilege", "exit 0"}},  // a value not listed logs off
      {2, true, ERROR_PRIVILEGE_NOT_HELD, true, true, true, {"privilege", "exit 1"}, exitFailed},
      {4, true, 0, true, true, true, {"privilege", "stand by"}},
      {4, true, 0, false, true, true, {"privilege"}, NotAllowed("StandBy")},
      {4, true, 0, none, true, true, {"privilege"}, NotAllowed("StandBy")},
      {4, true, 0, true, false, true, {"privilege", "stand by"}, NotAllowed("StandBy")},
      {4, true, 0, true, none, true, {"privilege", "stand by"}, NotAllowed("StandBy")},
      {5, true, 0, false, true, true, {"privilege"}, NotAllowed("Hibernate")},
      {5, true, 0, none, true, true, {"privilege"}, NotAllowed("Hibernate")},
      {5, true, 0, true, true, none, {"privilege", "hibernate"}},  // no GetActivePwrScheme is no obstacle
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " " << testing::PrintToString(c.calls));
    StandInSession session;
    session.exitError = c.exitError;
    (c.type == 4 ? session.suspendAllowed : session.hibernateAllowed) = c.allowed;
    session.suspendAnswer = c.answer;
    session.scheme = c.scheme;
    Calls messages;
    bool failed = ShutdownAction(static_cast<ShutType>(c.type), c.ntFamily, session,
                                 [&](const std::string& text) { messages.push_back(text); });
    EXPECT_EQ(session.calls, c.calls);
    EXPECT_EQ(failed, !c.message.empty());
    EXPECT_EQ(messages, c.message.empty() ? Calls{} : Calls{c.message});
  }
}

}  // namespace
}  // namespace tidemark::schedule
