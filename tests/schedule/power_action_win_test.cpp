// The power action over the real session with the calls that would end it
// (ExitWindowsEx, the POWRPROF functions) stood in for.
#include <gtest/gtest.h>

#include "platform/session_win.h"
#include "schedule/power_action.h"

namespace tidemark::schedule {
namespace {

using Calls = std::vector<std::string>;

class StandInSession : public platform::Win32Session {
 public:
  bool EnableShutdownPrivilege() override {
    return calls.push_back("privilege"), Win32Session::EnableShutdownPrivilege();
  }
  bool EndSession(uint32_t flags) override {
    calls.push_back("exit " + std::to_string(flags));
    lastError_ = exitError;
    return exitError == 0;
  }
  std::optional<bool> GetActivePwrScheme() override { return scheme; }
  std::optional<bool> IsPwrSuspendAllowed() override { return suspendAllowed; }
  std::optional<bool> IsPwrHibernateAllowed() override { return hibernateAllowed; }
  std::optional<bool> SetSuspendState(bool hibernate) override {
    return calls.push_back(hibernate ? "hibernate" : "stand by"), suspendAnswer;
  }
  DWORD exitError = 0;
  std::optional<bool> scheme = true, suspendAllowed = true, hibernateAllowed = true, suspendAnswer = true;
  Calls calls;
};

TEST(PowerAction, EachShutTypeMakesItsCallAndAFailureIsShown) {
  auto notAllowed = [](std::string option) {
    return "The shutdown function did not complete.\r\n\r\nThe \"" + option +
           "\" Power Option was not allowed\r\n\r\nby the Operating System.\r\n\r\nPress \"OK\" to exit.";
  };
  const std::string exitFailed =
      "The shutdown function encountered a \r\n\r\nSystem Error attempting to shutdown "
      "Windows.\r\n\r\nThe Error Code is Error-1314\r\n\r\nPress \"OK\" to exit.";
  const std::nullopt_t none = std::nullopt;
  const Calls exit0{"privilege", "exit 0"}, standBy{"privilege", "stand by"}, privilege{"privilege"};
  const struct {
    int type;
    bool ntFamily = true;
    DWORD exitError = 0;
    std::optional<bool> allowed = true, answer = true, scheme = true;
    Calls calls;
    std::string message = "";
  } cases[] = {
      {.type = 0, .calls = exit0},
      {.type = 7, .calls = exit0},                          // a value not listed logs off
      {.type = 1, .ntFamily = false, .calls = {"exit 2"}},  // no privilege outside the NT family
      {.type = 2, .calls = {"privilege", "exit 1"}},
      {.type = 3, .calls = {"privilege", "exit 8"}},
      {.type = 2, .exitError = ERROR_PRIVILEGE_NOT_HELD, .calls = {"privilege", "exit 1"}, .message = exitFailed},
      {.type = 4, .calls = standBy},
      {.type = 4, .allowed = false, .calls = privilege, .message = notAllowed("StandBy")},
      {.type = 4, .answer = none, .calls = standBy, .message = notAllowed("StandBy")},
      {.type = 5, .allowed = none, .calls = privilege, .message = notAllowed("Hibernate")},
      // No GetActivePwrScheme is no obstacle.
      {.type = 5, .scheme = none, .calls = {"privilege", "hibernate"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << " " << testing::PrintToString(c.calls));
    StandInSession session;
    session.exitError = c.exitError;
    (c.type == 4 ? session.suspendAllowed : session.hibernateAllowed) = c.allowed;
    session.suspendAnswer = c.answer;
    session.scheme = c.scheme;
    Calls messages;
    EXPECT_EQ(ShutdownAction(static_cast<settings::ShutType>(c.type), c.ntFamily, session,
                             [&](const std::string& text) { messages.push_back(text); }),
              !c.message.empty());
    EXPECT_EQ(session.calls, c.calls);
    EXPECT_EQ(messages, c.message.empty() ? Calls{} : Calls{c.message});
  }
}

}  // namespace
}  // namespace tidemark::schedule
