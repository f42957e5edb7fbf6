// Starting other programs: a command line as a new process, or a file
// through the shell. Failures leave the Windows error code in LastError().
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tidemark::platform {

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the program (a full path: the system searches no folder for it)
  // with its arguments at normal priority, its window shown normally or
  // hidden. With whileWaiting, waits until the program ends and calls
  // whileWaiting whenever window messages arrive (and at least every tenth
  // of a second) so the caller's windows stay alive.
  virtual bool Start(const std::string& program, const std::string& arguments, bool hidden,
                     const std::function<void()>& whileWaiting) = 0;
  // Opens a file through the shell (ShellExecuteExA, no error dialog), shown
  // normally, without waiting.
  virtual bool ShellOpen(const std::string& file) = 0;
  // Starts a program through the shell with the verb ("open", "runas"),
  // parameters and working folder, shown normally, and waits without a time
  // limit until it ends.
  virtual bool ShellRunAndWait(const std::string& verb, const std::string& program, const std::string& folder,
                               const std::string& parameters) = 0;
  // The program file names ("chrome.exe") of the processes that run now;
  // empty when they cannot be listed.
  virtual std::vector<std::string> RunningProgramNames() = 0;
  virtual uint32_t LastError() const = 0;
};

Processes& RealProcesses();

}  // namespace tidemark::platform
