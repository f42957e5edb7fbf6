#include "cookies/protect_editors_win.h"

#include <algorithm>

#include "cookies/protect_file.h"
#include "platform/product.h"
#include "platform/text.h"

namespace tidemark::cookies {
namespace {

constexpr int kEditorMargin = 8, kLabel = 16, kEdit = 22, kButton = 25, kNote = 16;
constexpr settings::DesignedSize kDesigned{420, 400};

std::string ErrorCaption() { return std::string(kProductName) + "  -  Error Message"; }

const ProtectEntryEditor::Texts kCookieTexts{
    "TProtEditForm",
    "Current Protect File Entries:",
    "Enter new Protect Entry for \"Add\" or select from list below",
    {"NOTE - The entries must begin with \"p=\" for Protect", "or \"r=\" for Randomize. "},
    kCookieEntryPrefixes,
    "The entry must begin with: \r\n    \"p=\" for Protect or\r\n    \"r=\" for Randomize\r\n\r\nAdd Function ignored.",
    {0, 0}};

const ProtectEntryEditor::Texts kTempTexts{
    "TProtTempForm",
    "Current Protect Temp File Entries:",
    "Enter new File Entry for \"Add\" or select from list below",
    {"NOTE - The entries must begin with \"p=\" for Protect or", "or \"i=\" for Ignore delete errors",
     "\"i=\" for Ignore Errors.  Filename masks (* and ?) are supported."},
    kTempEntryPrefixes,
    "The entry must begin with: \r\n    \"p=\" for Protect or\r\n    \"i=\" for Ignore delete error\r\n\r\nAdd Function "
    "ignored.",
    {360, 320}};

}  // namespace

ProtectEntryEditor::ProtectEntryEditor(Texts texts, std::string caption, std::vector<std::string> entries,
                                       int pixelsPerInch)
    : DialogWindow({texts.className, std::move(caption), kDesigned, pixelsPerInch}),
      texts_(std::move(texts)),
      entries_(std::move(entries)) {}

void ProtectEntryEditor::SetEntries(std::vector<std::string> entries) {
  entries_ = std::move(entries);
  FillList();
}

void ProtectEntryEditor::CreateControls() {
  label1_ = AddControl("STATIC", texts_.listHeading, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  listBox_ = AddControl("LISTBOX", "", WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                        0, 0, 10, 10);
  label2_ = AddControl("STATIC", texts_.editHeading, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10);
  currentEdit_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 10, 10, WS_EX_CLIENTEDGE);
  addBtn_ = AddButton("Add", 0, 0, 10, 10, [this] { EditAddBtnClick(); }, BS_DEFPUSHBUTTON);
  deleteBtn_ = AddButton("Delete", 0, 0, 10, 10, [this] { EditDeleteBtnClick(); });
  closeBtn_ = AddButton("Close", 0, 0, 10, 10, [this] { EditCloseBtnClick(); });
  OnCommandId(IDOK, [this] {
    if (IsWindowEnabled(addBtn_)) EditAddBtnClick();
  });
  for (const char* note : texts_.notes)
    notes_.push_back(AddControl("STATIC", note, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 10, 10));
  statusBar1_.Create(*this, true);
  hints().Attach(statusBar1_.hwnd(), gui::StatusBar::kSimplePart);
  hints().Set(addBtn_, "|Add Displayed Entry");
  hints().Set(deleteBtn_, "|Delete Displayed Entry");
  hints().Set(closeBtn_, "|Close this window");
  FillList();
}

void ProtectEntryEditor::OnShown() {
  FormActivate();
  SetFocus(currentEdit_);
}

void ProtectEntryEditor::FillList() {
  if (!listBox_) return;
  SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : entries_)
    SendMessageA(listBox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void ProtectEntryEditor::FormActivate() {
  SetWindowTextA(currentEdit_, "");
  EnableWindow(addBtn_, FALSE);
}

void ProtectEntryEditor::CurrentEditChange() { EnableWindow(addBtn_, gui::WindowText(currentEdit_).size() >= 3); }

void ProtectEntryEditor::ListBoxClick() {
  int row = static_cast<int>(SendMessageA(listBox_, LB_GETCURSEL, 0, 0));
  if (row < 0 || static_cast<size_t>(row) >= entries_.size()) return;
  SetWindowTextA(currentEdit_, LowerCase(entries_[static_cast<size_t>(row)]).c_str());
}

void ProtectEntryEditor::EditAddBtnClick() {
  switch (AddEditedEntry(entries_, gui::WindowText(currentEdit_), texts_.prefixes)) {
    case EntryAdd::Refused:
      MessageBoxA(hwnd(), texts_.addRefused, ErrorCaption().c_str(), MB_OK | MB_ICONERROR);
      return;
    case EntryAdd::Added:
      dirty_ = true;
      FillList();
      break;
    case EntryAdd::AlreadyListed: break;
  }
  SetWindowTextA(currentEdit_, "");
}

void ProtectEntryEditor::EditDeleteBtnClick() {
  if (!DeleteEditedEntry(entries_, LowerCase(gui::WindowText(currentEdit_)))) {
    MessageBoxA(hwnd(), "Unable to locate the specified \r\nentry for Deletion.\r\n\r\nDelete Function ignored.",
                ErrorCaption().c_str(), MB_OK | MB_ICONERROR);
    return;
  }
  dirty_ = true;
  FillList();
  SetWindowTextA(currentEdit_, "");
}

void ProtectEntryEditor::Layout() {
  RECT client;
  GetClientRect(hwnd(), &client);
  int barHeight = statusBar1_.Fit();
  int width = std::max<int>(0, client.right - 2 * S(kEditorMargin)), left = S(kEditorMargin);
  int y = client.bottom - barHeight - S(4) - static_cast<int>(notes_.size()) * S(kNote);
  for (HWND note : notes_) {
    MoveWindow(note, left, y, width, S(kNote), TRUE);
    y += S(kNote);
  }
  int buttons = client.bottom - barHeight - S(4) - static_cast<int>(notes_.size()) * S(kNote) - S(kEditorMargin) -
                S(kButton);
  MoveWindow(addBtn_, left, buttons, S(80), S(kButton), TRUE);
  MoveWindow(deleteBtn_, left + S(88), buttons, S(80), S(kButton), TRUE);
  MoveWindow(closeBtn_, client.right - S(kEditorMargin + 80), buttons, S(80), S(kButton), TRUE);
  int edit = buttons - S(kEditorMargin) - S(kEdit);
  MoveWindow(currentEdit_, left, edit, width, S(kEdit), TRUE);
  MoveWindow(label2_, left, edit - S(kLabel + 2), width, S(kLabel), TRUE);
  int listTop = S(kEditorMargin + kLabel + 2);
  MoveWindow(label1_, left, S(kEditorMargin), width, S(kLabel), TRUE);
  MoveWindow(listBox_, left, listTop, width, std::max(0, edit - S(kLabel + 2 + kEditorMargin) - listTop), TRUE);
}

LRESULT ProtectEntryEditor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == listBox_ && HIWORD(wParam) == LBN_SELCHANGE) ListBoxClick();
      if (reinterpret_cast<HWND>(lParam) == currentEdit_ && HIWORD(wParam) == EN_CHANGE) CurrentEditChange();
      break;
    case WM_GETMINMAXINFO:
      if (texts_.minimum.cx > 0) {
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {S(texts_.minimum.cx), S(texts_.minimum.cy)};
        return 0;
      }
      break;
  }
  return DialogWindow::OnMessage(message, wParam, lParam);
}

TProtEditForm::TProtEditForm(std::string caption, std::vector<std::string> entries, int pixelsPerInch)
    : ProtectEntryEditor(kCookieTexts, std::move(caption), std::move(entries), pixelsPerInch) {}

TProtTempForm::TProtTempForm(platform::FileSystem& files, std::string dataFolder, int pixelsPerInch)
    : ProtectEntryEditor(kTempTexts, std::string(kProductName) + " - Edit Protect" + " File Entries for Temp Folders / Plugins",
                         {}, pixelsPerInch),
      files_(files),
      dataFolder_(std::move(dataFolder)) {
  LoadTempProtectList(list_, files_, dataFolder_);
  SetEntries(list_.entries);
}

void TProtTempForm::OnClosing() {
  if (dirty_) {
    list_.entries = Entries();
    SortProtectEntries(list_.entries);  // the file keeps its sorted order
    list_.Dirty = true;
  }
  SaveTempProtectList(list_, files_, dataFolder_);
}

}  // namespace tidemark::cookies
