// A stand-in program for the plugin tests of EXECUTE and EXEHIDE: waits a
// moment, then writes how it was shown (the show command it was started
// with) to a file named after itself plus ".ran".
#include <windows.h>

#include <string>

int main() {
  Sleep(300);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  std::string shown = (startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : "default";
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string marker = std::string(self) + ".ran";
  HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}
