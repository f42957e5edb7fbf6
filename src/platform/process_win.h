// The real process starts. Tests derive from it to inject a failure.
#pragma once
#include <windows.h>

#include "platform/process.h"

namespace tidemark::platform {

class Win32Processes : public Processes {
 public:
  bool Start(const std::string& program, const std::string& arguments, bool hidden,
             const std::function<void()>& whileWaiting) override;
  bool ShellOpen(const std::string& file) override;
  bool ShellRunAndWait(const std::string& verb, const std::string& program, const std::string& folder,
                       const std::string& parameters) override;
  std::vector<std::string> RunningProgramNames() override;
  uint32_t LastError() const override { return lastError_; }

 protected:
  bool Fail(DWORD error) {
    lastError_ = error;
    return false;
  }

  DWORD lastError_ = 0;
};

}  // namespace tidemark::platform
