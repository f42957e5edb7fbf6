// The session and the machine: the user's rights, log-off and the power
// states, deletions the system carries out at its next start, and the
// system's texts for its error codes. Failures leave the Windows error code
// in LastError().
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace tidemark::platform {

// ExitWindowsEx flags; no "force" flag is ever added.
constexpr uint32_t kExitLogoff = 0;
constexpr uint32_t kExitShutdown = 1;
constexpr uint32_t kExitReboot = 2;
constexpr uint32_t kExitPoweroff = 8;

class Session {
 public:
  virtual ~Session() = default;
  // Membership of the Administrators group (the shell's own test where the
  // system has one).
  virtual bool IsAdministrator() = 0;
  // Enables SeShutdownPrivilege in the process token; true only when the
  // system reports no error afterwards.
  virtual bool EnableShutdownPrivilege() = 0;
  virtual bool EndSession(uint32_t flags) = 0;
  // The functions of POWRPROF.dll, looked up at run time: nothing when the
  // library or the function is missing, else the function's answer.
  virtual std::optional<bool> GetActivePwrScheme() = 0;
  virtual std::optional<bool> IsPwrSuspendAllowed() = 0;
  virtual std::optional<bool> IsPwrHibernateAllowed() = 0;
  virtual std::optional<bool> SetSuspendState(bool hibernate) = 0;
  // Deletes the file when the system next starts (MoveFileExA with
  // MOVEFILE_DELAY_UNTIL_REBOOT).
  virtual bool DeleteAtReboot(const std::string& path) = 0;
  // The system's message for an error code, without its line break; empty
  // when the system has none.
  virtual std::string ErrorText(uint32_t code) = 0;
  virtual uint32_t LastError() const = 0;
};

Session& RealSession();

}  // namespace tidemark::platform
