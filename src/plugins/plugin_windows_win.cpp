#include "plugins/plugin_windows_win.h"

#include <algorithm>

#include "platform/ini_file.h"
#include "platform/product.h"
#include "platform/text.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_interpreter.h"
#include "settings/window_place_win.h"

namespace tidemark::plugins {
namespace {

// Sizes at 96 pixels per inch.
constexpr settings::DesignedSize kSelectDesigned{600, 440};
constexpr settings::DesignedSize kTestDesigned{620, 420};
constexpr int kMargin = 8, kLabelHeight = 16, kButtonHeight = 25, kSplitterWidth = 5, kMinPane = 80;
constexpr const char* kFormProp = "TidemarkPlugSelForm";
constexpr const char* kProcProp = "TidemarkPlugSelProc";

class WindowPump : public engine::MessagePump {
 public:
  void Pump() override { gui::PumpPendingMessages(); }
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
};

// Restores a window's saved place; true when it was maximised.
bool RestorePlace(HWND window, HWND owner, const PluginWindowsContext& context, const char* key,
                  settings::DesignedSize designed) {
  std::optional<settings::WindowPlacement> placement;
  if (!context.settingsFile.empty()) {
    platform::PrivateProfileFile ini(context.settingsFile);
    placement = settings::RestoreWindow(ini, key, context.restore, designed);
  }
  return settings::ApplyPlacement(window, owner, placement, designed, context.restore.pixelsPerInch);
}

void SavePlace(HWND window, const PluginWindowsContext& context, const char* key) {
  if (context.readOnlyMedia || context.settingsFile.empty() || !IsWindow(window)) return;
  platform::PrivateProfileFile ini(context.settingsFile);
  settings::SaveWindow(ini, key, settings::StoredPositionOf(window));
}

// F1 in a plugin window asks for help.
std::function<bool(MSG&)> HelpKey(const std::function<void()>& help) {
  return [help](MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_F1 || !help) return false;
    help();
    return true;
  };
}

// Passes the list view's messages on and reports released keys.
LRESULT CALLBACK ListViewKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(list, kProcProp));
  auto* form = static_cast<TPlugSelForm*>(GetPropA(list, kFormProp));
  LRESULT result = CallWindowProcA(previous, list, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropA(list, kProcProp);
    RemovePropA(list, kFormProp);
  } else if (message == WM_KEYUP && form) {
    try {
      form->ListView1KeyUp();
    } catch (...) {
      gui::ReportCurrentException();
    }
  }
  return result;
}

}  // namespace

TPlugTstForm::TPlugTstForm(PluginWindowsContext& context, std::vector<std::string> lines, bool testMode,
                           std::string title)
    : context_(context), lines_(std::move(lines)), testMode_(testMode), title_(std::move(title)) {}

void TPlugTstForm::Create(HWND owner) {
  owner_ = owner;
  std::string caption = std::string(kProductName) + " - Test Selected Plugin";
  CreateWindowOf("TPlugTstForm", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0,
                 kTestDesigned.width, kTestDesigned.height, owner);
  titleLabel_ = AddControl("STATIC", title_.c_str(), WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  output_.Create(*this, 0, 0, 100, 100);
  ShowWindow(output_.hwnd(), SW_SHOW);
  closeBtn_ = AddButton("Close", 0, 0, 10, 10, [this] { CloseTstBtnClick(); });
  OnCommandId(IDCANCEL, [this] { CloseTstBtnClick(); });
  maximised_ = RestorePlace(hwnd(), owner, context_, settings::kPluginTestWindowKey, kTestDesigned);
  FormResize();
}

void TPlugTstForm::ShowModal(HWND owner) {
  Create(owner);
  ShowWindow(hwnd(), maximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(hwnd());
  FormActivate();
  gui::RunModal(hwnd(), owner, closed_, HelpKey(context_.help));
  FormClose();
}

void TPlugTstForm::FormActivate() {
  // The run happens once: coming back to the window must not run it again.
  if (ran_) return;
  ran_ = true;
  output_.Clear();
  state_ = engine::PurgeState{};
  state_.flags = context_.purge.flags;
  state_.flags.detailReport = true;
  state_.previewMode = testMode_ || context_.purge.previewMode;
  if (testMode_) state_.flags.secureErase = false;
  running_ = true;
  struct Ended {
    bool& running;
    ~Ended() { running = false; }
  } ended{running_};
  const engine::PurgeResources resources = context_.resources();
  engine::TempProtectForRun protectList(resources);
  engine::PurgeProgress noProgress;  // the window has no progress line
  WindowPump pump;
  engine::Report report(output_, noProgress, pump, "");
  engine::PurgeEnvironment env(report, state_, resources);
  PluginInterpreter interpreter(env, testMode_);
  interpreter.RunPlugin(lines_);
  if (!testMode_) report.Line(EntriesForPluginLine(interpreter.PluginEntryCount));
  FormResize();
  if (closeRequested_) PostMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
}

void TPlugTstForm::CloseTstBtnClick() {
  // Closing during the run stops it at its next cancel test first.
  if (running_) {
    state_.cancelRequested = true;
    closeRequested_ = true;
    return;
  }
  FormClose();
}

void TPlugTstForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  SavePlace(hwnd(), context_, settings::kPluginTestWindowKey);
  gui::EndModal(hwnd(), owner_);
}

void TPlugTstForm::FormResize() {
  if (!hwnd() || !closeBtn_) return;
  auto s = [this](int v) { return gui::Scale(v, context_.restore.pixelsPerInch); };
  RECT client;
  GetClientRect(hwnd(), &client);
  MoveWindow(titleLabel_, s(kMargin), s(kMargin), client.right - 2 * s(kMargin), s(kLabelHeight), TRUE);
  int listTop = s(kMargin + kLabelHeight + 4);
  int buttonTop = client.bottom - s(kMargin + kButtonHeight);
  MoveWindow(output_.hwnd(), s(kMargin), listTop, client.right - 2 * s(kMargin), std::max(0, buttonTop - s(kMargin) - listTop),
             TRUE);
  MoveWindow(closeBtn_, client.right - s(kMargin + 90), buttonTop, s(90), s(kButtonHeight), TRUE);
  if (output_.LineCount() > 0) ListView_SetColumnWidth(output_.hwnd(), 0, LVSCW_AUTOSIZE);
}

LRESULT TPlugTstForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_CLOSE:
      CloseTstBtnClick();
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

void Splitter::Create(HWND parent, std::function<void(int at)> onMoved, bool horizontal) {
  onMoved_ = std::move(onMoved);
  horizontal_ = horizontal;
  CreateWindowOf("TPlugSplitter", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, kSplitterWidth, 10, parent);
}

LRESULT Splitter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      SetCursor(LoadCursor(nullptr, horizontal_ ? IDC_SIZENS : IDC_SIZEWE));
      return TRUE;
    case WM_LBUTTONDOWN:
      SetCapture(hwnd());
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd()) {
        ReleaseCapture();
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        MapWindowPoints(hwnd(), GetParent(hwnd()), &at, 1);
        if (onMoved_) onMoved_(horizontal_ ? at.y : at.x);
      }
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

TPlugSelForm::TPlugSelForm(PluginWindowsContext& context) : TPlugSelForm(context, context.resources()) {}

TPlugSelForm::TPlugSelForm(PluginWindowsContext& context, const engine::PurgeResources& resources)
    : context_(context),
      files_(resources.platform.files),
      pluginsFolder_(resources.located.firefox.PluginsFolder),
      listFile_(resources.located.firefox.PluginListFile),
      listWidth_(S(220)) {}

const std::string& TPlugSelForm::HintOf(HWND control) const {
  static const std::string none;
  auto found = hints_.find(control);
  return found == hints_.end() ? none : found->second;
}

void TPlugSelForm::AddHint(HWND control, const std::string& hint) {
  hints_[control] = hint;
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<char*>(hints_[control].c_str());
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TPlugSelForm::Create(HWND owner) {
  owner_ = owner;
  std::string caption = std::string(kProductName) + " - Select Plugins for Plugin Option";
  CreateWindowOf("TPlugSelForm", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0,
                 kSelectDesigned.width, kSelectDesigned.height, owner);
  tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, S(400));  // the hints' line breaks count

  label1_ = AddControl("STATIC", "Select Plugins from the list below:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  label2_ = AddControl("STATIC", "Contents of Selected Plugin:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  listView_ = AddControl(WC_LISTVIEWA, "",
                         WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                             LVS_SHOWSELALWAYS | LVS_SORTASCENDING,
                         0, 0, 10, 10);
  ListView_SetExtendedListViewStyle(listView_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = S(200);
  SendMessageA(listView_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  SetPropA(listView_, kProcProp,
           reinterpret_cast<HANDLE>(SetWindowLongPtrA(listView_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListViewKeys))));
  SetPropA(listView_, kFormProp, this);
  OnNotify(listView_, [this](NMHDR* header) -> LRESULT {
    switch (header->code) {
      case LVN_ITEMCHANGING: ListView1Changing(*reinterpret_cast<NMLISTVIEW*>(header)); break;
      case LVN_ITEMCHANGED: ListView1Change(*reinterpret_cast<NMLISTVIEW*>(header)); break;
      case NM_CLICK:
      case NM_RCLICK: ListView1MouseUp(); break;
    }
    return 0;
  });
  splitter_.Create(hwnd(), [this](int x) { Splitter1Moved(x); });
  listBox_ = AddControl("LISTBOX", "",
                        WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT |
                            LBS_NOSEL,
                        0, 0, 10, 10);

  allOnBtn_ = AddButton("Set All Checkmarks 'On'", 0, 0, 10, 10, [this] { AllOnButtonClick(); });
  allOffBtn_ = AddButton("Set All Checkmarks 'Off'", 0, 0, 10, 10, [this] { AllOffButtonClick(); });
  testBtn_ = AddButton("Test Plugin", 0, 0, 10, 10, [this] { PlugTestBtnClick(); });
  execBtn_ = AddButton("Execute Plugin", 0, 0, 10, 10, [this] { PlugExecBtnClick(); });
  saveBtn_ = AddButton("Apply Changes", 0, 0, 10, 10, [this] { SConfigSaveBtnClick(); });
  exitBtn_ = AddButton("Close", 0, 0, 10, 10, [this] { SConfigExitBtnClick(); });
  OnCommandId(IDCANCEL, [this] { SConfigExitBtnClick(); });
  AddHint(saveBtn_, "Save the above selections for the Plugin option");
  AddHint(exitBtn_, "Return to the Config Window");
  AddHint(allOnBtn_, "Set Checkmarks On for all Plugins");
  AddHint(allOffBtn_, "Set Checkmarks Off for all Plugins");
  AddHint(testBtn_, "Test Selected Plugin - no actual deletes");
  AddHint(execBtn_, "Execute Selected Plugin - with actual deletes\r\nUses current setting for Secure Erase");
  EnableWindow(saveBtn_, FALSE);
  EnableWindow(testBtn_, FALSE);
  EnableWindow(execBtn_, FALSE);

  maximised_ = RestorePlace(hwnd(), owner, context_, settings::kPluginSelectWindowKey, kSelectDesigned);
  Layout();
}

void TPlugSelForm::ShowModal(HWND owner) {
  Create(owner);
  ShowWindow(hwnd(), maximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
  FormActivate();
  SetFocus(listView_);
  gui::RunModal(hwnd(), owner, closed_, HelpKey(context_.help));
  FormClose();
}

void TPlugSelForm::FormActivate() {
  tracking_ = false;
  ListView_DeleteAllItems(listView_);
  EnableWindow(saveBtn_, FALSE);
  EnableWindow(testBtn_, FALSE);
  EnableWindow(execBtn_, FALSE);
  shownName_.clear();
  shownLines_.clear();
  SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
  int row = 0;
  for (const std::string& name : ListPluginFiles(files_, pluginsFolder_)) {
    bool selected = std::any_of(context_.selected.begin(), context_.selected.end(),
                                [&](const std::string& chosen) { return SameText(chosen, name); });
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row++;
    item.pszText = const_cast<char*>(name.c_str());
    int inserted = static_cast<int>(SendMessageA(listView_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    ListView_SetCheckState(listView_, inserted, selected);
  }
  ListView_SetColumnWidth(listView_, 0, LVSCW_AUTOSIZE);
  tracking_ = true;
}

void TPlugSelForm::ListView1Changing(const NMLISTVIEW& change) {
  if (!tracking_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0) return;
  changingRow_ = change.iItem;
  changingChecked_ = ListView_GetCheckState(listView_, change.iItem) != 0;
}

void TPlugSelForm::ListView1Change(const NMLISTVIEW& change) {
  if (tracking_ && (change.uChanged & LVIF_STATE) && change.iItem >= 0 && change.iItem == changingRow_ &&
      (ListView_GetCheckState(listView_, change.iItem) != 0) != changingChecked_)
    EnableWindow(saveBtn_, TRUE);
  bool chosen = SelectedRow() >= 0;
  EnableWindow(testBtn_, chosen);
  EnableWindow(execBtn_, chosen);
}

int TPlugSelForm::SelectedRow() const {
  return static_cast<int>(SendMessageA(listView_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string TPlugSelForm::RowText(int row) const {
  char text[MAX_PATH] = {};
  ListView_GetItemText(listView_, row, 0, text, sizeof text);
  return text;
}

void TPlugSelForm::ShowSelectedPlugin() {
  int row = SelectedRow();
  if (row < 0) {
    SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
    shownName_.clear();
    shownLines_.clear();
    return;
  }
  std::string name = RowText(row);
  if (name == shownName_) return;
  shownName_ = name;
  shownLines_ = ReadPluginLines(files_, JoinPath(pluginsFolder_, name)).value_or(std::vector<std::string>{});
  SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
  HDC dc = GetDC(listBox_);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(listBox_, WM_GETFONT, 0, 0)));
  SIZE size{};
  int widest = 0;
  for (const std::string& line : shownLines_) {
    SendMessageA(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size)) widest = std::max<int>(widest, size.cx);
  }
  GetTextExtentPoint32A(dc, "Mi", 2, &size);
  SelectObject(dc, oldFont);
  ReleaseDC(listBox_, dc);
  SendMessageA(listBox_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + size.cx / 2), 0);
  SendMessageA(listBox_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox_, nullptr, TRUE);
}

void TPlugSelForm::SetAllChecks(bool checked) {
  int rows = ListView_GetItemCount(listView_);
  for (int row = 0; row < rows; ++row) ListView_SetCheckState(listView_, row, checked);
}

void TPlugSelForm::SConfigSaveBtnClick() {
  if (context_.readOnlyMedia) return;
  context_.selected.clear();
  int rows = ListView_GetItemCount(listView_);
  for (int row = 0; row < rows; ++row)
    if (ListView_GetCheckState(listView_, row)) context_.selected.push_back(RowText(row));
  if (uint32_t error = SaveSelection(files_, listFile_, context_.selected)) {
    std::string text = "Unable to save the Plugin selection - " + listFile_ + "\r\nWindows error " + std::to_string(error);
    MessageBoxA(hwnd(), text.c_str(), (std::string(kProductName) + "  -  Error Message").c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  EnableWindow(saveBtn_, FALSE);
}

void TPlugSelForm::SConfigExitBtnClick() {
  if (closed_) return;
  if (IsWindowEnabled(saveBtn_)) {
    std::string text = std::string("You have not saved your changes.") + "\r\n\r\n" +
                       "Select 'Yes' if you wish to save your changes." + "\r\n\r\n" +
                       "Select 'No' if you wish to lose your changes.";
    std::string caption = std::string(kProductName) + " -  Warning";
    if (MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING) == IDYES) SConfigSaveBtnClick();
  }
  FormClose();
}

void TPlugSelForm::RunShownPlugin(bool testMode) {
  std::string title = (testMode ? "Test:   " : "Execute:   ") + shownName_;
  TPlugTstForm test(context_, shownLines_, testMode, title);
  test.ShowModal(hwnd());
}

void TPlugSelForm::FormClose() {
  if (closed_) return;
  closed_ = true;
  SavePlace(hwnd(), context_, settings::kPluginSelectWindowKey);
  gui::EndModal(hwnd(), owner_);
}

void TPlugSelForm::Splitter1Moved(int x) {
  RECT client;
  GetClientRect(hwnd(), &client);
  listWidth_ = std::clamp<int>(x - S(kMargin), S(kMinPane), std::max<int>(S(kMinPane), client.right - S(kMinPane) - S(2 * kMargin)));
  Layout();
}

void TPlugSelForm::Layout() {
  if (!hwnd() || !exitBtn_) return;
  RECT client;
  GetClientRect(hwnd(), &client);
  int margin = S(kMargin), button = S(kButtonHeight);
  int paneTop = margin + S(kLabelHeight + 4);
  int lowerRow = client.bottom - margin - button, upperRow = lowerRow - S(6) - button;
  int paneHeight = std::max(0, upperRow - margin - paneTop);
  int listWidth = std::min<int>(listWidth_, std::max<int>(S(kMinPane), client.right - 2 * margin - S(kMinPane)));
  int textLeft = margin + listWidth + S(kSplitterWidth);
  MoveWindow(label1_, margin, margin, listWidth, S(kLabelHeight), TRUE);
  MoveWindow(listView_, margin, paneTop, listWidth, paneHeight, TRUE);
  MoveWindow(splitter_.hwnd(), margin + listWidth, paneTop, S(kSplitterWidth), paneHeight, TRUE);
  MoveWindow(label2_, textLeft, margin, std::max(0, static_cast<int>(client.right) - margin - textLeft), S(kLabelHeight), TRUE);
  MoveWindow(listBox_, textLeft, paneTop, std::max(0, static_cast<int>(client.right) - margin - textLeft), paneHeight, TRUE);
  int wide = S(160), narrow = S(110), right = client.right - margin;
  MoveWindow(allOnBtn_, margin, upperRow, wide, button, TRUE);
  MoveWindow(allOffBtn_, margin + wide + S(6), upperRow, wide, button, TRUE);
  MoveWindow(testBtn_, right - 2 * narrow - S(6), upperRow, narrow, button, TRUE);
  MoveWindow(execBtn_, right - narrow, upperRow, narrow, button, TRUE);
  MoveWindow(saveBtn_, right - 2 * narrow - S(6), lowerRow, narrow, button, TRUE);
  MoveWindow(exitBtn_, right - narrow, lowerRow, narrow, button, TRUE);
}

LRESULT TPlugSelForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CLOSE:
      SConfigExitBtnClick();
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::plugins
