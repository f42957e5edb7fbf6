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

// A confirmation with the buttons "Yes" (the default), "No" and "Yes To
// All": a message box whose three buttons are renamed as it opens. Escape
// chooses none of them. The command ids of the three buttons:
enum ConfirmAnswer : int { kConfirmYes = IDABORT, kConfirmNo = IDRETRY, kConfirmYesToAll = IDIGNORE };
ConfirmAnswer ConfirmYesNoYesToAll(HWND owner, const std::string& caption, const std::string& text);

}  // namespace tidemark::cookies
