#include "help/quick_start_win.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "help/quick_start.h"

namespace tidemark::help {
namespace {

constexpr int kFrame = 8, kBottomPanel = 41;
constexpr const char* kCheckHint = "Set the Checkmark to prevent automatic display of Quick Start.";
constexpr const char* kCloseHint = "Close the Quick Start information window.";

// Feeds the rich-text box from a string.
struct StreamSource {
  const std::string& text;
  size_t offset = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto& source = *reinterpret_cast<StreamSource*>(cookie);
  size_t count = std::min(static_cast<size_t>(wanted), source.text.size() - source.offset);
  memcpy(buffer, source.text.data() + source.offset, count);
  source.offset += count;
  *given = static_cast<LONG>(count);
  return 0;
}

int ScreenColourDepth() {
  HDC screen = GetDC(nullptr);
  int depth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  return depth;
}

}  // namespace

TQuickStartForm::TQuickStartForm(platform::FileSystem& files, std::string& quickStartOpt, std::string file, int ppi)
    : files_(files), quickStartOpt_(quickStartOpt), file_(std::move(file)), ppi_(ppi) {}

TQuickStartForm::~TQuickStartForm() {
  if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
  if (font_) DeleteObject(font_);
}

const std::string& TQuickStartForm::HintOf(HWND control) const {
  static const std::string none;
  return control == check_ ? hints_[0] : control == close_ ? hints_[1] : none;
}

void TQuickStartForm::Show(HWND mainWindow) {
  if (!hwnd()) Create(mainWindow);
  if (!activated_) FirstActivation(mainWindow);
  ShowWindow(hwnd(), SW_SHOW);
}

void TQuickStartForm::Create(HWND mainWindow) {
  static HMODULE richEdit = LoadLibraryA("riched20.dll");
  (void)richEdit;
  int width = ScaledQuickStartSize(kQuickStartWidth, ppi_);
  int height = ScaledQuickStartSize(kQuickStartHeight, ppi_);
  int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  CreateWindowOf("TQuickStartForm", "Quick Start", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, WS_EX_CONTROLPARENT, left,
                 top, width, height, mainWindow);
  panelColour_ = QuickStartPanelColour(ScreenColourDepth());
  for (gui::ColourPanel* panel : {&top_, &left_, &right_, &bottom_}) panel->Create(hwnd(), 0, 0, 1, 1, panelColour_);
  text_ = AddControl(RICHEDIT_CLASSA, "",
                     WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 1, 1,
                     WS_EX_CLIENTEDGE);
  font_ = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
  SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  check_ = AddControl("BUTTON", "Do not show this window at startup", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0,
                      1, 1);
  close_ = AddButton("Close this Window", 0, 0, 1, 1, [this] { Hide(); });
  for (HWND control : {check_, close_}) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gui::MessageFont()), FALSE);
  SetControlColour(check_, panelColour_);
  OnCommand(check_, [this] {
    quickStartOpt_ = SendMessageA(check_, BM_GETCHECK, 0, 0) == BST_CHECKED ? "N" : "S";
  });
  // The panels lie below the controls they frame.
  SetWindowPos(bottom_.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  tips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd(), nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  AddHint(check_, kCheckHint);
  AddHint(close_, kCloseHint);
  Layout();
}

void TQuickStartForm::AddHint(HWND control, const char* hint) {
  hints_[control == check_ ? 0 : 1] = hint;
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<char*>(hint);
  SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TQuickStartForm::FirstActivation(HWND mainWindow) {
  activated_ = true;
  RECT work{}, window{}, main{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(hwnd(), &window);
  if (mainWindow) GetWindowRect(mainWindow, &main);
  Box place = FirstQuickStartPlace({work.left, work.top, work.right, work.bottom},
                                   {main.left, main.top, main.right, main.bottom}, window.right - window.left,
                                   window.bottom - window.top);
  MoveWindow(hwnd(), place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  LoadText();
  SetWindowTextA(hwnd(), "Tidemark - Quick Start Information");
  SendMessageA(check_, BM_SETCHECK, quickStartOpt_ != "S" ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TQuickStartForm::LoadText() {
  auto text = files_.FileExists(file_) ? files_.ReadFile(file_) : std::nullopt;
  if (!text) {
    std::vector<std::string> lines = MissingQuickStartNotice(file_);
    std::string notice = lines.front();
    for (size_t i = 1; i < lines.size(); ++i) notice += "\r\n" + lines[i];
    SetWindowTextA(text_, notice.c_str());
    return;
  }
  StreamSource source{*text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ReadStream};
  SendMessageA(text_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
}

void TQuickStartForm::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int width = client.right, height = client.bottom;
  auto s = [this](int v) { return gui::Scale(v, ppi_); };
  int frame = s(kFrame), bottom = s(kBottomPanel);
  MoveWindow(top_.hwnd(), 0, 0, width, frame, TRUE);
  MoveWindow(left_.hwnd(), 0, frame, frame, height - frame - bottom, TRUE);
  MoveWindow(right_.hwnd(), width - frame, frame, frame, height - frame - bottom, TRUE);
  MoveWindow(bottom_.hwnd(), 0, height - bottom, width, bottom, TRUE);
  MoveWindow(text_, frame, frame, std::max(0, width - 2 * frame), std::max(0, height - frame - bottom), TRUE);
  int row = height - bottom + (bottom - s(25)) / 2;
  MoveWindow(check_, frame, row + s(4), s(220), s(18), TRUE);
  MoveWindow(close_, std::max(s(230), width - frame - s(120)), row, s(120), s(25), TRUE);
}

LRESULT TQuickStartForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (text_) Layout();
      return 0;
    case WM_CLOSE:
      Hide();
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::help
