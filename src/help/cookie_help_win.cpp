#include "help/cookie_help_win.h"

#include "platform/text.h"

namespace tidemark::help {
namespace {

constexpr const char* kCookieHelpFile = "TmrkCook.rtf";

}  // namespace

TCHform::TCHform(platform::FileSystem& files, std::string programFolder, int pixelsPerInch)
    : DialogWindow({"TCHform", "Tidemark - Help For Cookies Window", {560, 440}, pixelsPerInch, WS_OVERLAPPEDWINDOW}),
      files_(files),
      folder_(std::move(programFolder)) {}

void TCHform::CreateControls() {
  text_.Create(*this);
  text_.Show(files_, JoinPath(folder_, kCookieHelpFile),
             std::string("...Unable to locate the text file to display.\r\n...The file - ") + kCookieHelpFile +
                 " must be in the\r\nTidemark execution folder.");
}

void TCHform::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  MoveWindow(text_.hwnd(), 0, 0, client.right, client.bottom, TRUE);
}

}  // namespace tidemark::help
