#include "app/cookie_help_win.h"

#include <richedit.h>

#include <algorithm>
#include <optional>

#include "platform/text.h"
#include "settings/window_place_win.h"

namespace tidemark::app {
namespace {

DWORD CALLBACK ReadRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto* text = reinterpret_cast<std::string_view*>(cookie);
  size_t count = std::min<size_t>(static_cast<size_t>(wanted), text->size());
  std::copy_n(text->data(), count, buffer);
  text->remove_prefix(count);
  *given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

void TCHform::Create(HWND owner) {
  owner_ = owner;
  LoadLibraryA("riched20.dll");
  CreateWindowOf("TCHform", "Tidemark - Help For Cookies Window", WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, 0, 0, 560,
                 440, owner);
  text_ = AddControl(RICHEDIT_CLASSA, "", WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY, 0, 0, 10, 10,
                     WS_EX_CLIENTEDGE);
  OnCommandId(IDCANCEL, [this] { Close(); });
  std::string name = "TmrkCook.rtf";
  std::optional<std::string> rtf;
  if (HANDLE file = CreateFileA(JoinPath(folder_, name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr);
      file != INVALID_HANDLE_VALUE) {
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) rtf = bytes.substr(0, read);
    CloseHandle(file);
  }
  if (rtf) {
    std::string_view rest = *rtf;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rest), 0, ReadRtf};
    SendMessageA(text_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  } else {
    std::string missing = "...Unable to locate the text file to display.\r\n...The file - " + name +
                          " must be in the\r\nTidemark execution folder.";
    SetWindowTextA(text_, missing.c_str());
  }
  settings::ApplyPlacement(hwnd(), owner, std::nullopt, {560, 440}, ppi_);
}

std::string TCHform::Text() const { return gui::WindowText(text_); }

void TCHform::ShowModal(HWND owner) {
  Create(owner);
  ShowWindow(hwnd(), SW_SHOW);
  gui::RunModal(hwnd(), owner, closed_);
}

void TCHform::Close() {
  if (closed_) return;
  closed_ = true;
  gui::EndModal(hwnd(), owner_);
}

LRESULT TCHform::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      RECT client;
      GetClientRect(hwnd(), &client);
      MoveWindow(text_, 0, 0, client.right, client.bottom, TRUE);
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::app
