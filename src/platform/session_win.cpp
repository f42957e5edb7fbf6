#include "platform/session_win.h"

namespace tidemark::platform {
namespace {

using IsUserAnAdminFn = BOOL(WINAPI*)();
using PowerQueryFn = BOOLEAN(WINAPI*)();
using GetActivePwrSchemeFn = BOOLEAN(WINAPI*)(PUINT);
using SetSuspendStateFn = BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN);

template <typename Function>
Function LookUp(HMODULE module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// POWRPROF.dll, loaded when not yet loaded; it stays for the process.
HMODULE PowerLibrary() {
  HMODULE module = GetModuleHandleA("POWRPROF.dll");
  return module ? module : LoadLibraryA("POWRPROF.dll");
}

std::optional<bool> PowerQuery(const char* name) {
  auto function = LookUp<PowerQueryFn>(PowerLibrary(), name);
  if (!function) return std::nullopt;
  return function() != FALSE;
}

// Membership of the well-known Administrators group in the process token.
bool InAdministratorsGroup() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &administrators))
    return false;
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
  FreeSid(administrators);
  return member != FALSE;
}

}  // namespace

bool Win32Session::IsAdministrator() {
  // From Windows 2000 on the shell answers (it knows a filtered token).
  if (auto shellTest = LookUp<IsUserAnAdminFn>(GetModuleHandleA("shell32.dll"), "IsUserAnAdmin"))
    return shellTest() != FALSE;
  return InAdministratorsGroup();
}

bool Win32Session::EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!Check(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool ok = Check(LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid));
  if (ok) {
    SetLastError(0);
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    // The call succeeds without the privilege; only the error code tells.
    ok = Check(GetLastError() == 0);
  }
  CloseHandle(token);
  return ok;
}

bool Win32Session::EndSession(uint32_t flags) { return Check(ExitWindowsEx(flags, 0)); }

std::optional<bool> Win32Session::GetActivePwrScheme() {
  auto function = LookUp<GetActivePwrSchemeFn>(PowerLibrary(), "GetActivePwrScheme");
  if (!function) return std::nullopt;
  UINT scheme = 0;
  return function(&scheme) != FALSE;
}

std::optional<bool> Win32Session::IsPwrSuspendAllowed() { return PowerQuery("IsPwrSuspendAllowed"); }

std::optional<bool> Win32Session::IsPwrHibernateAllowed() { return PowerQuery("IsPwrHibernateAllowed"); }

std::optional<bool> Win32Session::SetSuspendState(bool hibernate) {
  auto function = LookUp<SetSuspendStateFn>(PowerLibrary(), "SetSuspendState");
  if (!function) return std::nullopt;
  return function(hibernate, FALSE, FALSE) != FALSE;
}

bool Win32Session::DeleteAtReboot(const std::string& path) {
  return Check(MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

std::string Win32Session::ErrorText(uint32_t code) {
  char* buffer = nullptr;
  DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = length && buffer ? std::string(buffer, length) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

Session& RealSession() {
  static Win32Session session;
  return session;
}

}  // namespace tidemark::platform
