// The real Windows clipboard. Tests derive from it to inject a failure.
#pragma once
#include <windows.h>

#include "platform/clipboard.h"

namespace tidemark::platform {

class Win32Clipboard : public Clipboard {
 public:
  bool Clear() override;
  uint32_t LastError() const override { return lastError_; }

 protected:
  DWORD lastError_ = 0;
};

}  // namespace tidemark::platform
