#include "plugins/plugin_windows_win.h"

#include <algorithm>

#include "platform/product.h"
#include "platform/text.h"
#include "plugins/plugin_files.h"
#include "plugins/plugin_interpreter.h"

namespace tidemark::plugins {
namespace {

// Sizes at 96 pixels per inch.
constexpr settings::DesignedSize kSelectDesigned{600, 440};
constexpr settings::DesignedSize kTestDesigned{620, 420};
constexpr int kMargin = 8, kLabelHeight = 16, kButtonHeight = 25, kSplitterWidth = 5, kMinPane = 80;

class WindowPump : public engine::MessagePump {
 public:
  void Pump() override { gui::PumpPendingMessages(); }
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
};

gui::KeptPlace PlaceOf(const PluginWindowsContext& context, const char* key) {
  return {context.settingsFile, key, context.restore, context.readOnlyMedia};
}

}  // namespace

TPlugTstForm::TPlugTstForm(PluginWindowsContext& context, std::vector<std::string> lines, bool testMode,
                           std::string title)
    : DialogWindow({"TPlugTstForm", std::string(kProductName) + " - Test Selected Plugin", kTestDesigned,
                    context.restore.pixelsPerInch},
                   PlaceOf(context, settings::kPluginTestWindowKey)),
      context_(context),
      lines_(std::move(lines)),
      testMode_(testMode),
      title_(std::move(title)) {
  SetHelp(context_.help);
}

void TPlugTstForm::CreateControls() {
  titleLabel_ = AddControl("STATIC", title_.c_str(), WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  output_.Create(*this, 0, 0, 100, 100);
  ShowWindow(output_.hwnd(), SW_SHOW);
  closeBtn_ = AddButton("Close", 0, 0, 10, 10, [this] { CloseTstBtnClick(); });
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
  Layout();
  if (closeRequested_) PostMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
}

void TPlugTstForm::OnCloseRequest() {
  if (running_) {
    state_.cancelRequested = true;
    closeRequested_ = true;
    return;
  }
  Close();
}

void TPlugTstForm::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  MoveWindow(titleLabel_, S(kMargin), S(kMargin), client.right - 2 * S(kMargin), S(kLabelHeight), TRUE);
  int listTop = S(kMargin + kLabelHeight + 4);
  int buttonTop = client.bottom - S(kMargin + kButtonHeight);
  MoveWindow(output_.hwnd(), S(kMargin), listTop, client.right - 2 * S(kMargin),
             std::max(0, buttonTop - S(kMargin) - listTop), TRUE);
  MoveWindow(closeBtn_, client.right - S(kMargin + 90), buttonTop, S(90), S(kButtonHeight), TRUE);
  if (output_.LineCount() > 0) output_.AutosizeColumn();
}

TPlugSelForm::TPlugSelForm(PluginWindowsContext& context) : TPlugSelForm(context, context.resources()) {}

TPlugSelForm::TPlugSelForm(PluginWindowsContext& context, const engine::PurgeResources& resources)
    : DialogWindow({"TPlugSelForm", std::string(kProductName) + " - Select Plugins for Plugin Option", kSelectDesigned,
                    context.restore.pixelsPerInch},
                   PlaceOf(context, settings::kPluginSelectWindowKey)),
      context_(context),
      files_(resources.platform.files),
      pluginsFolder_(resources.located.firefox.PluginsFolder),
      listFile_(resources.located.firefox.PluginListFile),
      listWidth_(S(220)) {
  SetHelp(context_.help);
}

void TPlugSelForm::CreateControls() {
  hints().ShowToolTips(hwnd(), S(400));
  label1_ = AddControl("STATIC", "Select Plugins from the list below:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  label2_ = AddControl("STATIC", "Contents of Selected Plugin:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  list_.Create(*this,
               WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                   LVS_SORTASCENDING,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, 0, 0, 10, 10);
  list_.AddColumn("", S(200));
  list_.onCheckChanged = [this](int) {
    if (tracking_) EnableWindow(saveBtn_, TRUE);
  };
  list_.onSelectionChanged = [this] { SelectionChanged(); };
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
  hints().Set(saveBtn_, "Save the above selections for the Plugin option");
  hints().Set(exitBtn_, "Return to the Config Window");
  hints().Set(allOnBtn_, "Set Checkmarks On for all Plugins");
  hints().Set(allOffBtn_, "Set Checkmarks Off for all Plugins");
  hints().Set(testBtn_, "Test Selected Plugin - no actual deletes");
  hints().Set(execBtn_, "Execute Selected Plugin - with actual deletes\r\nUses current setting for Secure Erase");
  EnableWindow(saveBtn_, FALSE);
  EnableWindow(testBtn_, FALSE);
  EnableWindow(execBtn_, FALSE);
}

void TPlugSelForm::OnShown() {
  FormActivate();
  SetFocus(list_.hwnd());
}

void TPlugSelForm::FormActivate() {
  tracking_ = false;
  list_.Clear();
  EnableWindow(saveBtn_, FALSE);
  EnableWindow(testBtn_, FALSE);
  EnableWindow(execBtn_, FALSE);
  shownName_.clear();
  shownLines_.clear();
  SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : ListPluginFiles(files_, pluginsFolder_)) {
    bool selected = std::any_of(context_.selected.begin(), context_.selected.end(),
                                [&](const std::string& chosen) { return SameText(chosen, name); });
    list_.SetChecked(list_.AddRow({name}), selected);
  }
  list_.SetColumnWidth(0, gui::ListView::kAutosize);
  tracking_ = true;
}

// The selected plugin, if any, can be run, and its text is shown.
void TPlugSelForm::SelectionChanged() {
  bool chosen = !list_.SelectedRows().empty();
  EnableWindow(testBtn_, chosen);
  EnableWindow(execBtn_, chosen);
  ShowSelectedPlugin();
}

void TPlugSelForm::ShowSelectedPlugin() {
  std::vector<int> selected = list_.SelectedRows();
  if (selected.empty()) {
    SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
    shownName_.clear();
    shownLines_.clear();
    return;
  }
  std::string name = list_.Cell(selected.front(), 0);
  if (name == shownName_) return;
  shownName_ = name;
  shownLines_ = ReadPluginLines(files_, JoinPath(pluginsFolder_, name)).value_or(std::vector<std::string>{});
  SendMessageA(listBox_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
  int widest = 0;
  SIZE size{};
  {
    gui::WindowDC dc(listBox_);
    gui::SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(listBox_, WM_GETFONT, 0, 0)));
    for (const std::string& line : shownLines_) {
      SendMessageA(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
      if (GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size))
        widest = std::max<int>(widest, size.cx);
    }
    GetTextExtentPoint32A(dc, "Mi", 2, &size);
  }
  SendMessageA(listBox_, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + size.cx / 2), 0);
  SendMessageA(listBox_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listBox_, nullptr, TRUE);
}

void TPlugSelForm::SetAllChecks(bool checked) {
  for (int row = 0; row < list_.RowCount(); ++row) list_.SetChecked(row, checked);
}

void TPlugSelForm::SConfigSaveBtnClick() {
  if (context_.readOnlyMedia) return;
  context_.selected.clear();
  for (int row = 0; row < list_.RowCount(); ++row)
    if (list_.Checked(row)) context_.selected.push_back(list_.Cell(row, 0));
  if (uint32_t error = SaveSelection(files_, listFile_, context_.selected)) {
    std::string text = "Unable to save the Plugin selection - " + listFile_ + "\r\nWindows error " + std::to_string(error);
    MessageBoxA(hwnd(), text.c_str(), (std::string(kProductName) + "  -  Error Message").c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  EnableWindow(saveBtn_, FALSE);
}

void TPlugSelForm::OnCloseRequest() {
  if (closed()) return;
  if (IsWindowEnabled(saveBtn_)) {
    std::string text = std::string("You have not saved your changes.") + "\r\n\r\n" +
                       "Select 'Yes' if you wish to save your changes." + "\r\n\r\n" +
                       "Select 'No' if you wish to lose your changes.";
    std::string caption = std::string(kProductName) + " -  Warning";
    if (MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING) == IDYES) SConfigSaveBtnClick();
  }
  Close();
}

void TPlugSelForm::RunShownPlugin(bool testMode) {
  std::string title = (testMode ? "Test:   " : "Execute:   ") + shownName_;
  TPlugTstForm test(context_, shownLines_, testMode, title);
  test.ShowModal(hwnd());
}

void TPlugSelForm::Splitter1Moved(int x) {
  RECT client;
  GetClientRect(hwnd(), &client);
  listWidth_ = std::clamp<int>(x - S(kMargin), S(kMinPane), std::max<int>(S(kMinPane), client.right - S(kMinPane) - S(2 * kMargin)));
  Layout();
}

void TPlugSelForm::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int margin = S(kMargin), button = S(kButtonHeight);
  int paneTop = margin + S(kLabelHeight + 4);
  int lowerRow = client.bottom - margin - button, upperRow = lowerRow - S(6) - button;
  int paneHeight = std::max(0, upperRow - margin - paneTop);
  int listWidth = std::min<int>(listWidth_, std::max<int>(S(kMinPane), client.right - 2 * margin - S(kMinPane)));
  int textLeft = margin + listWidth + S(kSplitterWidth);
  MoveWindow(label1_, margin, margin, listWidth, S(kLabelHeight), TRUE);
  MoveWindow(list_.hwnd(), margin, paneTop, listWidth, paneHeight, TRUE);
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

}  // namespace tidemark::plugins
