#include "help/quick_start_win.h"

#include <algorithm>
#include <vector>

#include "help/quick_start.h"

namespace tidemark::help {
namespace {

constexpr int kFrame = 8, kBottomPanel = 41;

}  // namespace

TQuickStartForm::TQuickStartForm(platform::FileSystem& files, std::string& quickStartOpt, std::string file, int ppi)
    : DialogWindow({"TQuickStartForm",
                    "Tidemark - Quick Start Information",
                    {kQuickStartWidth, kQuickStartHeight},
                    ppi,
                    WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX}),
      files_(files),
      quickStartOpt_(quickStartOpt),
      file_(std::move(file)),
      ppi_(ppi) {}

TQuickStartForm::~TQuickStartForm() {
  if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
  if (font_) DeleteObject(font_);
}

// Beside the main window the first time; the place is kept while the window lives.
bool TQuickStartForm::Place(const std::optional<settings::WindowPlacement>&) {
  RECT work{}, main{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  if (owner()) GetWindowRect(owner(), &main);
  Box place = FirstQuickStartPlace(
      {work.left, work.top, work.right, work.bottom}, {main.left, main.top, main.right, main.bottom},
      ScaledQuickStartSize(kQuickStartWidth, ppi_), ScaledQuickStartSize(kQuickStartHeight, ppi_));
  MoveWindow(hwnd(), place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
  return false;
}

void TQuickStartForm::CreateControls() {
  panelColour_ = QuickStartPanelColour(gui::ScreenColourDepth());
  for (gui::ColourPanel* panel : {&top_, &left_, &right_, &bottom_}) panel->Create(hwnd(), 0, 0, 1, 1, panelColour_);
  text_.Create(*this);
  font_ = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
  SendMessageA(text_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  check_ =
      AddControl("BUTTON", "Do not show this window at startup", WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 1, 1);
  close_ = AddButton("Close this Window", 0, 0, 1, 1, [this] { Close(); });
  SetControlColour(check_, panelColour_);
  OnCommand(check_, [this] { quickStartOpt_ = SendMessageA(check_, BM_GETCHECK, 0, 0) == BST_CHECKED ? "N" : "S"; });
  // The panels lie below the controls they frame.
  SetWindowPos(bottom_.hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  hints().ShowToolTips(hwnd());
  hints().Set(check_, "Set the Checkmark to prevent automatic display of Quick Start.");
  hints().Set(close_, "Close the Quick Start information window.");
  std::vector<std::string> notice = MissingQuickStartNotice(file_);
  std::string text = notice.front();
  for (size_t i = 1; i < notice.size(); ++i) text += "\r\n" + notice[i];
  text_.Show(files_, file_, text);
  SendMessageA(check_, BM_SETCHECK, quickStartOpt_ != "S" ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TQuickStartForm::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int width = client.right, height = client.bottom;
  int frame = S(kFrame), bottom = S(kBottomPanel);
  MoveWindow(top_.hwnd(), 0, 0, width, frame, TRUE);
  MoveWindow(left_.hwnd(), 0, frame, frame, height - frame - bottom, TRUE);
  MoveWindow(right_.hwnd(), width - frame, frame, frame, height - frame - bottom, TRUE);
  MoveWindow(bottom_.hwnd(), 0, height - bottom, width, bottom, TRUE);
  MoveWindow(text_.hwnd(), frame, frame, std::max(0, width - 2 * frame), std::max(0, height - frame - bottom), TRUE);
  int row = height - bottom + (bottom - S(25)) / 2;
  MoveWindow(check_, frame, row + S(4), S(220), S(18), TRUE);
  MoveWindow(close_, std::max(S(230), width - frame - S(120)), row, S(120), S(25), TRUE);
}

}  // namespace tidemark::help
