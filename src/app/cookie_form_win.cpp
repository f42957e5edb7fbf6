#include "app/cookie_form_win.h"

#include <algorithm>

#include "cookies/protect_editors_win.h"
#include "cookies/user_messages_win.h"
#include "help/cookie_help_win.h"
#include "help/font_form_win.h"
#include "help/help_topics.h"
#include "platform/ini_file.h"
#include "platform/product.h"
#include "settings/window_place_win.h"

namespace tidemark::app {
namespace {

constexpr int kMargin = 6, kButton = 25, kRow2 = 36, kPanel = 66, kTabs = 24, kSplitter = 5;
// The button rows start right of the filter; the second, one button in,
// ends after a gap with the wide "Close This Window" and is the wider one.
constexpr int kRowLeft = 168, kRowButton = 70, kRowGap = 4, kCloseWidth = 144;
constexpr int kRowsWidth = kMargin + kRowLeft + 6 * (kRowButton + kRowGap) + kRowGap + kCloseWidth + kMargin;

// The outer width that shows the button rows whole: the least width, and
// at 96 pixels per inch the designed one.
int RowsOuterWidth(int ppi) {
  RECT frame{0, 0, gui::Scale(kRowsWidth, ppi), 0};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FALSE, WS_EX_CONTROLPARENT);
  return frame.right - frame.left;
}
settings::DesignedSize DesignedSize() { return {RowsOuterWidth(96), 520}; }
constexpr COLORREF kSelectedTab = 0x800000;  // navy

enum PopupId : UINT {
  kProtect1 = 2000,
  kUnProtect1,
  kBlock1,
  kAllow1,
  kSession1,
  kRemove1,
  kOpen1,
  kDelete1,
  kRandomize1,
};

std::string Caption(const char* suffix) { return std::string(kProductName) + suffix; }

HFONT CreateListFont(settings::FontSetting font, int ppi) {
  if (font.size <= 0) font.size = 10;
  LOGFONTA logFont = settings::LogFontOf(font, ppi);
  return CreateFontIndirectA(&logFont);
}

std::vector<std::vector<std::string>> CellTexts(const gui::ListView& list, int columns) {
  std::vector<std::vector<std::string>> rows(static_cast<size_t>(list.RowCount()));
  for (size_t row = 0; row < rows.size(); ++row)
    for (int column = 0; column < columns; ++column) rows[row].push_back(list.Cell(static_cast<int>(row), column));
  return rows;
}

}  // namespace

TCookieForm::TCookieForm(CookieFormContext& context)
    : DialogWindow({"TCookieForm", Caption(" - Cookies"), DesignedSize(), context.restore.pixelsPerInch},
                   {context.settingsFile, settings::kCookieWindowKey, context.restore, context.readOnlyMedia}),
      context_(context),
      firefoxStore_(context.files, context.firefox, context.firefoxPermissions, {context.purge, context.purgeResources},
                    context.firefoxRunning, *this),
      ieNormalStore_(context.files, context.memory, context.ie, false, context.iePermissions,
                     {context.purge, context.purgeResources}, *this),
      ieProtectedStore_(context.files, context.memory, context.ie, true, context.iePermissions,
                        {context.purge, context.purgeResources}, *this),
      chromiumStore_(context.files, {context.purge, context.purgeResources}),
      model_({context.files, context.firefoxProtectFile, context.ieProtectFile, firefoxStore_, ieNormalStore_,
              ieProtectedStore_, chromiumStore_, context.confirmations},
             *this) {
  layout_.list1Columns = {S(300), S(70), S(70), S(230)};
  layout_.list2Columns = {S(200), S(150), S(320)};
  layout_.list2Height = S(130);
  if (context_.help) SetHelp([this] { context_.help(help::kTopicProtect); });
}

TCookieForm::~TCookieForm() {
  if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
  if (popup_) DestroyMenu(popup_);
  if (listFont_) DeleteObject(listFont_);
}

std::optional<settings::WindowPlacement> TCookieForm::KeptPlacement() {
  if (context_.settingsFile.empty()) return std::nullopt;
  platform::PrivateProfileFile ini(context_.settingsFile);
  return settings::RestoreCookieWindow(ini, context_.restore, DesignedSize(), context_.fonts, layout_);
}

void TCookieForm::StorePlace() {
  if (context_.readOnlyMedia || context_.settingsFile.empty() || !IsWindow(hwnd())) return;
  for (int i = 0; i < 4; ++i) layout_.list1Columns[static_cast<size_t>(i)] = list1_.ColumnWidth(i);
  for (int i = 0; i < 3; ++i) layout_.list2Columns[static_cast<size_t>(i)] = list2_.ColumnWidth(i);
  platform::PrivateProfileFile ini(context_.settingsFile);
  settings::SaveCookieWindow(ini, settings::StoredPositionOf(hwnd()), layout_);
}

void TCookieForm::CreateControls() {
  const DWORD button = BS_PUSHBUTTON | WS_TABSTOP;
  label1_ = AddControl("STATIC", "Filter:", WS_VISIBLE | SS_LEFT, 0, 0, 10, 10);
  edit1_ = AddControl("EDIT", "", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 10, 10, WS_EX_CLIENTEDGE);
  refresh_ = AddButton("Refresh", 0, 0, 10, 10, [this] { RefreshBtnClick(); }, button);
  protect_ = AddButton("Protect", 0, 0, 10, 10, [this] { Protect1Click(); }, button);
  unprotect_ = AddButton("Unprotect", 0, 0, 10, 10, [this] { UnProtect1Click(); }, button);
  random_ = AddButton("Randomize", 0, 0, 10, 10, [this] { RandomSbtnClick(); }, button);
  delete_ = AddButton("Delete", 0, 0, 10, 10, [this] { DeleteSBtnClick(); }, button);
  open_ = AddButton("Open", 0, 0, 10, 10, [this] { OpenSbtnClick(); }, button);
  edit_ = AddButton("Edit", 0, 0, 10, 10, [this] { EditSbtnClick(); }, button);
  auto permit = [this](cookies::PermissionChange change) { return [this, change] { SetCookiePermission(change); }; };
  permitBlock_ = AddButton("Block", 0, 0, 10, 10, permit(cookies::PermissionChange::Block), button);
  permitAllow_ = AddButton("Allow", 0, 0, 10, 10, permit(cookies::PermissionChange::Allow), button);
  permitSession_ = AddButton("Session", 0, 0, 10, 10, permit(cookies::PermissionChange::Session), button);
  permitRemove_ = AddButton("Remove", 0, 0, 10, 10, permit(cookies::PermissionChange::Remove), button);
  help_ = AddButton("Help", 0, 0, 10, 10, [this] { SpeedButton1Click(); }, button);
  close_ = AddButton("Close This Window", 0, 0, 10, 10, [this] { CloseCookBtnClick(); }, button);
  OnCommandId(IDOK, [this] {
    if (GetFocus() == edit1_) RefreshBtnClick();  // Enter in the filter
  });

  tabs_.Create(*this, WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10);
  tabs_.SetLook({.selectedFill = kSelectedTab, .otherFill = GetSysColor(COLOR_BTNFACE),
                 .otherText = GetSysColor(COLOR_BTNTEXT), .centred = true});
  tabs_.onChanging = [this] { return model_.busy(); };
  tabs_.onChange = [this] { TabControlCookChange(tabs_.Selected()); };

  const DWORD list = WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_SHOWSELALWAYS;
  list1_.Create(*this, list, LVS_EX_FULLROWSELECT, 0, 0, 10, 10);
  const char* titles1[] = {"Internet Address for Cookie", "Tidemark", "FireFox", "Comments"};
  for (int i = 0; i < 4; ++i) list1_.AddColumn(titles1[i], layout_.list1Columns[static_cast<size_t>(i)]);
  list1_.UseSortArrows(S(9));
  list1_.onColumnClick = [this](int column) { ListView1ColumnClick(column); };
  list1_.onSelectionChanged = [this] { ListView1SelectItem(); };
  splitter1_.Create(hwnd(), [this](int y) { Splitter1Moved(y); }, true);
  list2_.Create(*this, list | LVS_SINGLESEL, LVS_EX_FULLROWSELECT, 0, 0, 10, 10);
  const char* titles2[] = {"Cookie", "Data Name", "Data Value"};
  for (int i = 0; i < 3; ++i) list2_.AddColumn(titles2[i], layout_.list2Columns[static_cast<size_t>(i)]);

  status_.Create(*this);
  status_.SetParts({S(420), -1});
  hints().Attach(status_.hwnd(), 0);
  const std::pair<HWND, const char*> tips[] = {
      {edit1_, "|Enter text to list only the addresses, names or values holding it; Enter refreshes"},
      {refresh_, "|Refresh the list with the current Filter"}, {protect_, "|Protect Selected Entries"},
      {unprotect_, "|Remove Protection from Selected Entries"},
      {open_, "|Open the Selected web domain in FireFox"}, {edit_, "|Edit the Protect File Entries directly"},
      {help_, "|Help for this window"}, {close_, "|Close This Window"}};
  for (auto [control, tip] : tips) hints().Set(control, tip);

  popup_ = CreatePopupMenu();
  const std::tuple<UINT, const char*, std::function<void()>> items[] = {
      {kProtect1, "Protect", [this] { Protect1Click(); }},
      {kUnProtect1, "UnProtect", [this] { UnProtect1Click(); }},
      {kBlock1, "Block", permit(cookies::PermissionChange::Block)},
      {kAllow1, "Allow", permit(cookies::PermissionChange::Allow)},
      {kSession1, "Session", permit(cookies::PermissionChange::Session)},
      {kRemove1, "Remove", permit(cookies::PermissionChange::Remove)},
      {kOpen1, "Open", [this] { OpenSbtnClick(); }},
      {kDelete1, "Delete", [this] { DeleteSBtnClick(); }},
      {kRandomize1, "Randomize", [this] { RandomSbtnClick(); }}};
  for (const auto& [id, text, click] : items) {
    AppendMenuA(popup_, MF_STRING, id, text);
    OnCommandId(id, click);
  }
}

void TCookieForm::OnShown() {
  FormActivate();
  SetFocus(list1_.hwnd());
}

bool TCookieForm::PreTranslate(MSG& message) {
  if (message.message != WM_KEYDOWN || message.hwnd != list1_.hwnd()) return false;
  if (message.wParam == 'A' && (GetKeyState(VK_CONTROL) & 0x8000)) {
    SelectAll();
    return true;
  }
  if (message.wParam == VK_DELETE) {
    DeleteSBtnClick();
    return true;
  }
  return false;
}

void TCookieForm::ApplyFonts() {
  if (listFont_) DeleteObject(listFont_);
  listFont_ = CreateListFont(context_.fonts.cookieLists, context_.restore.pixelsPerInch);
  for (HWND list : {list1_.hwnd(), list2_.hwnd()}) SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), TRUE);
}

void TCookieForm::FormActivate() {
  ApplyFonts();
  if (!activated_) SetWindowTextA(edit1_, "");
  activated_ = true;
  SetTabs();
  model_.ReadProtectLists();
  TabControlCookChange(0);
}

void TCookieForm::SetTabs() {
  tabs_.Clear();
  tabs_.Add("for FireFox Cookies");
  if (context_.protectedMode) {
    tabs_.Add("for I.E. Normal Mode Cookies");
    tabs_.Add("for I.E. Protected Mode Cookies");
  } else {
    tabs_.Add("for Internet Explorer Cookies");
  }
  tabs_.Add("for Chromium Cookies");
  tabs_.Select(0);
}

void TCookieForm::SetButtons() {
  for (HWND control : {protect_, unprotect_, open_}) EnableWindow(control, TRUE);
  auto show = [this](HWND button, UINT item, const cookies::ActionState& state) {
    EnableWindow(button, state.enabled);
    EnableMenuItem(popup_, item, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
    hints().Set(button, "|" + state.buttonHint);
    menuHints_[item] = state.menuHint;
  };
  show(random_, kRandomize1, model_.RandomizeState());
  const std::pair<HWND, UINT> actions[] = {
      {delete_, kDelete1}, {permitBlock_, kBlock1}, {permitAllow_, kAllow1}, {permitSession_, kSession1},
      {permitRemove_, kRemove1}};
  for (size_t i = 0; i < std::size(actions); ++i)
    show(actions[i].first, actions[i].second, model_.StateOf(static_cast<cookies::StoreAction>(i)));
}

void TCookieForm::TabControlCookChange(int index) {
  const int last = tabs_.Count() - 1;
  cookies::CookieTab tab = index == 0      ? cookies::CookieTab::Firefox
                           : index == last ? cookies::CookieTab::Chromium
                           : index == 1    ? cookies::CookieTab::IENormal
                                           : cookies::CookieTab::IEProtected;
  if (!model_.SelectTab(tab)) return;
  if (tabs_.Selected() != index) tabs_.Select(index);
  nextDescending_ = {true, false, false, false};
  const char* captions[] = {"Internet Address for FireFox Cookie", "Internet Address for \"I.E. Normal Mode\"",
                            "Internet Address for \"I.E. Protected Mode\"", "Internet Address for Chromium Cookie"};
  const char* permissions[] = {"FireFox", " I.E.", " I.E.", "Chromium"};
  const char* comments[] = {"Comments", "Local File", "Local File", "Browser - Profile"};
  const auto column = static_cast<size_t>(tab);
  list1_.SetColumnTitle(0, captions[column]);
  list1_.SetColumnTitle(2, permissions[column]);
  list1_.SetColumnTitle(3, comments[column]);
  InvalidateRect(tabs_.hwnd(), nullptr, TRUE);
  Fill();
}

void TCookieForm::RefreshBtnClick() {
  if (!model_.busy()) Fill();
}

void TCookieForm::Fill() {
  SetButtons();
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  model_.Refresh(gui::WindowText(edit1_));
  ShowItems();
  status_.SetText(1, model_.CountText());
  SetCursor(old);
}

void TCookieForm::ShowItems() {
  SendMessageA(list1_.hwnd(), WM_SETREDRAW, FALSE, 0);
  list1_.Clear();
  list2_.Clear();
  const std::vector<cookies::CookieAddress>& items = model_.items();
  for (size_t i = 0; i < items.size(); ++i) list1_.AddRow(cookies::RowTexts(items[i]), static_cast<LPARAM>(i));
  SortBy(0, true);
  SendMessageA(list1_.hwnd(), WM_SETREDRAW, TRUE, 0);
  if (!items.empty()) SelectRows({0});
}

cookies::CookieManager::Selection TCookieForm::Selected() const {
  cookies::CookieManager::Selection selected;
  for (int row : list1_.SelectedRows()) selected.push_back(static_cast<size_t>(list1_.ValueOf(row)));
  return selected;
}

void TCookieForm::UpdateRow(int index) {
  int row = list1_.RowOf(index);
  if (row < 0) return;
  std::vector<std::string> texts = cookies::RowTexts(model_.items()[static_cast<size_t>(index)]);
  for (int column = 1; column < 4; ++column) list1_.SetCell(row, column, texts[static_cast<size_t>(column)]);
}

std::vector<std::vector<std::string>> TCookieForm::Rows() const { return CellTexts(list1_, 4); }

std::vector<std::vector<std::string>> TCookieForm::DetailRows() const { return CellTexts(list2_, 3); }

void TCookieForm::SelectRows(const std::vector<int>& rows) {
  list1_.Select(rows);
  ListView1SelectItem();
}

void TCookieForm::SelectAll() { list1_.SelectAll(); }

void TCookieForm::ListView1SelectItem() {
  cookies::CookieManager::Selection selected = Selected();
  list2_.Clear();
  if (selected.size() != 1) return;
  for (const cookies::StoredCookie& cookie : model_.CookiesOf(selected.front()))
    list2_.AddRow({cookie.host, cookie.name, cookie.value});
}

void TCookieForm::Show(const std::string& caption, const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_OK);
}

TCookieForm::Answer TCookieForm::Confirm(const std::string& caption, const std::string& text) {
  cookies::ConfirmAnswer answer = cookies::ConfirmYesNoYesToAll(hwnd(), caption, text);
  return answer == cookies::kConfirmYes ? Answer::Yes : answer == cookies::kConfirmNo ? Answer::No : Answer::YesToAll;
}

void TCookieForm::Protect1Click() { model_.Protect(Selected()); }

void TCookieForm::RandomSbtnClick() { model_.Randomize(Selected()); }

void TCookieForm::UnProtect1Click() { model_.Unprotect(Selected()); }

void TCookieForm::DeleteSBtnClick() {
  if (model_.StoreInUse()) return SetButtons();  // Firefox runs
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  model_.Delete(Selected());
  ListView1SelectItem();
  SetCursor(old);
}

void TCookieForm::OpenSbtnClick() { model_.OpenSite(Selected(), context_.openInFirefox); }

void TCookieForm::EditSbtnClick() {
  bool firefoxTab = model_.tab() == cookies::CookieTab::Firefox;
  std::string caption =
      Caption(firefoxTab ? " - Edit Protect File Entries for FireFox" : " - Edit Protect File Entries for I.E.");
  if (model_.EditList([&](const std::vector<std::string>& entries) {
        cookies::TProtEditForm editor(caption, entries, context_.restore.pixelsPerInch);
        editor.ShowModal(hwnd());
        return editor.Entries();
      }))
    Fill();
}

void TCookieForm::SetCookiePermission(cookies::PermissionChange change) {
  if (model_.StoreInUse()) return SetButtons();  // Firefox runs
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  model_.SetPermission(Selected(), change);
  SetCursor(old);
}

void TCookieForm::ListView1ColumnClick(int column) {
  if (column < 0 || column > 3) return;
  bool descending = nextDescending_[static_cast<size_t>(column)];
  nextDescending_[static_cast<size_t>(column)] = !descending;
  SortBy(column, !descending);
}

void TCookieForm::SortBy(int column, bool ascending) {
  std::vector<std::string> keys, captions;
  for (const cookies::CookieAddress& item : model_.items()) {
    captions.push_back(item.address);
    keys.push_back(cookies::RowTexts(item)[static_cast<size_t>(column)]);
  }
  // Ties keep the captions' ascending order.
  list1_.Sort(column, ascending, [&](LPARAM a, LPARAM b) {
    size_t x = static_cast<size_t>(a), y = static_cast<size_t>(b);
    int order = lstrcmpA(keys[x].c_str(), keys[y].c_str());
    if (order == 0) return lstrcmpA(captions[x].c_str(), captions[y].c_str());
    return ascending ? order : -order;
  });
}

void TCookieForm::SpeedButton1Click() {
  help::TCHform helpWindow(context_.files, context_.programFolder, context_.restore.pixelsPerInch);
  helpWindow.ShowModal(hwnd());
}

void TCookieForm::PopupListView1Menu1Popup(bool atSelection) {
  POINT at;
  std::vector<int> selected = list1_.SelectedRows();
  int focused = list1_.FocusedRow();
  int row = std::ranges::count(selected, focused) ? focused : selected.empty() ? -1 : selected.front();
  if (atSelection && row >= 0) {
    RECT bounds = list1_.RowBounds(row);
    at = {bounds.left + S(10), bounds.bottom};
    ClientToScreen(list1_.hwnd(), &at);
  } else {
    GetCursorPos(&at);
    at.y += 10;
  }
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

bool TCookieForm::CloseCookBtnClick() {
  if (model_.busy()) return false;
  Close();
  return true;
}

// The detail list keeps between 20 % and 60 % of the lists' height, and the
// address list at least 40 pixels.
void TCookieForm::Splitter1Moved(int y) {
  RECT client;
  GetClientRect(hwnd(), &client);
  int bottom = client.bottom - status_.Fit();
  int panel = bottom - S(kPanel + kTabs);
  int height = bottom - y - S(kSplitter);
  height = std::clamp(height, panel / 5, std::max(panel / 5, std::min(panel * 3 / 5, panel - S(40))));
  layout_.list2Height = height;
  Layout();
}

void TCookieForm::Layout() {
  int barHeight = status_.Fit();
  RECT client;
  GetClientRect(hwnd(), &client);
  auto place = [](HWND control, int x, int y, int w, int h) { MoveWindow(control, x, y, w, h, TRUE); };
  int m = S(kMargin), b = S(kButton), w = S(kRowButton);
  place(label1_, m, m + S(4), S(34), S(16));
  place(edit1_, m + S(36), m + S(1), S(126), S(23));
  HWND row1[] = {refresh_, protect_, unprotect_, random_, delete_, open_, edit_, help_};
  int x = m + S(kRowLeft);
  for (HWND control : row1) {
    place(control, x, m, w, b);
    x += w + S(kRowGap);
  }
  x = m + S(kRowLeft) + w + S(kRowGap);
  for (HWND control : {permitBlock_, permitAllow_, permitSession_, permitRemove_}) {
    place(control, x, S(kRow2), w, b);
    x += w + S(kRowGap);
  }
  place(close_, x + S(kRowGap + kRowButton + kRowGap), S(kRow2), S(kCloseWidth), b);
  int top = S(kPanel), bottom = client.bottom - barHeight;
  place(tabs_.hwnd(), 0, top, client.right, S(kTabs));
  int listTop = top + S(kTabs);
  int panel = std::max(0, bottom - listTop);
  int lower = std::clamp(layout_.list2Height, panel / 5, std::max(panel / 5, std::min(panel * 3 / 5, panel - S(40))));
  int splitAt = bottom - lower - S(kSplitter);
  place(list1_.hwnd(), 0, listTop, client.right, std::max(0, splitAt - listTop));
  place(splitter1_.hwnd(), 0, splitAt, client.right, S(kSplitter));
  place(list2_.hwnd(), 0, splitAt + S(kSplitter), client.right, lower);
}

LRESULT TCookieForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = RowsOuterWidth(context_.restore.pixelsPerInch);
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == list1_.hwnd()) {
        PopupListView1Menu1Popup(lParam == -1);
        return 0;
      }
      break;
    case WM_MENUSELECT: {
      auto found = menuHints_.find(LOWORD(wParam));
      std::string hint = found == menuHints_.end() ? "" : found->second;
      status_.SetText(0, hint);
      break;
    }
  }
  return DialogWindow::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::app
