// How the protect lists speak to the user. The window layer shows a modal
// message box; tests collect the messages instead.
#pragma once
#include <string>

#include "platform/product.h"

namespace tidemark::cookies {

inline const std::string kMessageCaption = std::string(kProductName) + "  -  Message";

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual void Show(const std::string& caption, const std::string& text) = 0;
};

}  // namespace tidemark::cookies
