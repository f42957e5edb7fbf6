// The real session. Tests derive from it to stand in for the calls that
// would end the session or suspend the machine.
#pragma once
#include <windows.h>

#include "platform/error_keeper_win.h"
#include "platform/session.h"

namespace tidemark::platform {

class Win32Session : public Session, protected ErrorKeeper {
 public:
  bool IsAdministrator() override;
  bool EnableShutdownPrivilege() override;
  bool EndSession(uint32_t flags) override;
  std::optional<bool> GetActivePwrScheme() override;
  std::optional<bool> IsPwrSuspendAllowed() override;
  std::optional<bool> IsPwrHibernateAllowed() override;
  std::optional<bool> SetSuspendState(bool hibernate) override;
  bool DeleteAtReboot(const std::string& path) override;
  std::string ErrorText(uint32_t code) override;
  uint32_t LastError() const override { return lastError_; }

};

}  // namespace tidemark::platform
