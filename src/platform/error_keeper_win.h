// The Windows error code of the last failed step, kept by the Win32
// implementations for their LastError().
#pragma once
#include <windows.h>

namespace tidemark::platform {

class ErrorKeeper {
 protected:
  bool Check(bool ok) {
    if (!ok) lastError_ = GetLastError();
    return ok;
  }
  bool Fail(DWORD error) {
    lastError_ = error;
    return false;
  }

  DWORD lastError_ = 0;
};

}  // namespace tidemark::platform
