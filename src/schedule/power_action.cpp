#include "schedule/power_action.h"

namespace tidemark::schedule {
namespace {

std::string ExitFailedText(uint32_t code) {
  return "The shutdown function encountered a \r\n\r\nSystem Error attempting to shutdown Windows.\r\n\r\n"
         "The Error Code is Error-" +
         std::to_string(code) + "\r\n\r\nPress \"OK\" to exit.";
}

std::string SuspendRefusedText(bool hibernate) {
  return std::string("The shutdown function did not complete.\r\n\r\nThe \"") + (hibernate ? "Hibernate" : "StandBy") +
         "\" Power Option was not allowed\r\n\r\nby the Operating System.\r\n\r\nPress \"OK\" to exit.";
}

// Stand By and Hibernate: each function must be there and answer true.
bool Suspend(platform::Session& session, bool hibernate) {
  session.GetActivePwrScheme();  // its answer does not matter
  auto allowed = hibernate ? session.IsPwrHibernateAllowed() : session.IsPwrSuspendAllowed();
  if (!allowed.value_or(false)) return false;
  return session.SetSuspendState(hibernate).value_or(false);
}

}  // namespace

bool ShutdownAction(settings::ShutType type, bool ntFamily, platform::Session& session,
                    const std::function<void(const std::string& text)>& showMessage) {
  if (ntFamily) session.EnableShutdownPrivilege();
  uint32_t flags = platform::kExitLogoff;  // also for any value not listed
  switch (type) {
    case settings::ShutType::StandBy:
    case settings::ShutType::Hibernate: {
      bool hibernate = type == settings::ShutType::Hibernate;
      if (Suspend(session, hibernate)) return false;
      showMessage(SuspendRefusedText(hibernate));
      return true;
    }
    case settings::ShutType::Reboot: flags = platform::kExitReboot; break;
    case settings::ShutType::Shutdown: flags = platform::kExitShutdown; break;
    case settings::ShutType::Poweroff: flags = platform::kExitPoweroff; break;
    case settings::ShutType::Logoff: break;
  }
  if (session.EndSession(flags) || session.LastError() == 0) return false;
  showMessage(ExitFailedText(session.LastError()));
  return true;
}

}  // namespace tidemark::schedule
