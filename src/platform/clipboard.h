// The Windows clipboard.
#pragma once
#include <cstdint>

namespace tidemark::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Empties the clipboard of every format; false when it cannot be opened or emptied.
  virtual bool Clear() = 0;
  virtual uint32_t LastError() const = 0;
};

Clipboard& RealClipboard();

}  // namespace tidemark::platform
