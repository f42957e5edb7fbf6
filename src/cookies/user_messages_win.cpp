#include "cookies/user_messages_win.h"

namespace tidemark::cookies {

void MessageBoxMessages::Show(const std::string& caption, const std::string& text) {
  MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_OK);
}

}  // namespace tidemark::cookies
