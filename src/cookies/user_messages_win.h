// Messages to the user as modal message boxes over an owner window.
#pragma once
#include <windows.h>

#include "cookies/user_messages.h"

namespace tidemark::cookies {

class MessageBoxMessages : public UserMessages {
 public:
  explicit MessageBoxMessages(HWND owner) : owner_(owner) {}
  void Show(const std::string& caption, const std::string& text) override;

 private:
  HWND owner_;
};

}  // namespace tidemark::cookies
