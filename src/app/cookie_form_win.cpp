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
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, kExStyle = WS_EX_CONTROLPARENT;

// The outer width that shows the button rows whole: the least width, and
// at 96 pixels per inch the designed one.
int RowsOuterWidth(int ppi) {
  RECT frame{0, 0, gui::Scale(kRowsWidth, ppi), 0};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  return frame.right - frame.left;
}
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

constexpr COLORREF kArrowMask = RGB(255, 0, 255);

// ImageList2: the header's sort arrows (kArrowUp, kArrowDown), drawn as
// small triangles in the shadow colour on a masked background.
HIMAGELIST CreateSortArrows(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBRUSH mask = CreateSolidBrush(kArrowMask), shadow = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
  const int half = size / 2, top = (size - half) / 2, bottom = top + half;
  for (bool up : {true, false}) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, mask);
    HGDIOBJ oldBrush = SelectObject(dc, shadow), oldPen = SelectObject(dc, pen);
    POINT upward[] = {{half, top}, {size - 1, bottom}, {0, bottom}};
    POINT downward[] = {{0, top}, {size - 1, top}, {half, bottom}};
    Polygon(dc, up ? upward : downward, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldBitmap);
    ImageList_AddMasked(list, bitmap, kArrowMask);
    DeleteObject(bitmap);
  }
  DeleteObject(pen);
  DeleteObject(shadow);
  DeleteObject(mask);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return list;
}

HFONT CreateListFont(settings::FontSetting font, int ppi) {
  if (font.size <= 0) font.size = 10;
  LOGFONTA logFont = settings::LogFontOf(font, ppi);
  return CreateFontIndirectA(&logFont);
}

void AddColumn(HWND list, int index, const char* title, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(title);
  column.cx = width;
  SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetColumnTitle(HWND list, int index, const std::string& title) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<char*>(title.c_str());
  SendMessageA(list, LVM_SETCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void InsertRow(HWND list, int row, const std::vector<std::string>& texts, LPARAM param) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = const_cast<char*>(texts[0].c_str());
  item.lParam = param;
  int at = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t i = 1; i < texts.size(); ++i)
    ListView_SetItemText(list, at, static_cast<int>(i), const_cast<char*>(texts[i].c_str()));
}

std::vector<std::vector<std::string>> CellTexts(HWND list, int columns) {
  std::vector<std::vector<std::string>> rows(static_cast<size_t>(ListView_GetItemCount(list)));
  for (size_t row = 0; row < rows.size(); ++row)
    for (int column = 0; column < columns; ++column) {
      char text[1024] = {};
      ListView_GetItemText(list, static_cast<int>(row), column, text, sizeof text);
      rows[row].push_back(text);
    }
  return rows;
}

struct SortContext {
  const std::vector<std::string>* keys;
  const std::vector<std::string>* captions;
  bool ascending;
};

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM context) {
  const auto& sort = *reinterpret_cast<const SortContext*>(context);
  size_t x = static_cast<size_t>(a), y = static_cast<size_t>(b);
  int order = lstrcmpA((*sort.keys)[x].c_str(), (*sort.keys)[y].c_str());
  if (order == 0) return lstrcmpA((*sort.captions)[x].c_str(), (*sort.captions)[y].c_str());
  return sort.ascending ? order : -order;
}

}  // namespace

TCookieForm::TCookieForm(CookieFormContext& context)
    : context_(context),
      firefoxStore_(context.files, context.firefox, context.firefoxPermissions, {context.purge, context.purgeResources},
                    context.firefoxRunning, *this),
      ieNormalStore_(context.files, context.memory, context.ie, false, context.iePermissions,
                     {context.purge, context.purgeResources}, *this),
      ieProtectedStore_(context.files, context.memory, context.ie, true, context.iePermissions,
                        {context.purge, context.purgeResources}, *this),
      model_({context.files, context.firefoxProtectFile, context.ieProtectFile, firefoxStore_, ieNormalStore_,
              ieProtectedStore_, context.confirmations},
             *this) {
  layout_.list1Columns = {S(300), S(70), S(70), S(230)};
  layout_.list2Columns = {S(200), S(150), S(320)};
  layout_.list2Height = S(130);
}

TCookieForm::~TCookieForm() {
  if (hwnd() && IsWindow(hwnd())) DestroyWindow(hwnd());
  if (popup_) DestroyMenu(popup_);
  if (listFont_) DeleteObject(listFont_);
  if (imageList2_) ImageList_Destroy(imageList2_);
}

void TCookieForm::Create(HWND owner) {
  owner_ = owner;
  std::string caption = Caption(" - Cookies");
  const settings::DesignedSize designed{RowsOuterWidth(96), 520};
  CreateWindowOf("TCookieForm", caption.c_str(), kStyle, kExStyle, 0, 0, designed.width, designed.height, owner);
  std::optional<settings::WindowPlacement> placement;
  if (!context_.settingsFile.empty()) {
    platform::PrivateProfileFile ini(context_.settingsFile);
    placement = settings::RestoreCookieWindow(ini, context_.restore, designed, context_.fonts, layout_);
  }
  CreateControls();
  maximised_ = settings::ApplyPlacement(hwnd(), owner, placement, designed, context_.restore.pixelsPerInch);
  Layout();
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
  OnCommandId(IDCANCEL, [this] { CloseCookBtnClick(); });
  OnCommandId(IDOK, [this] {
    if (GetFocus() == edit1_) RefreshBtnClick();  // Enter in the filter
  });

  tabs_ = AddControl(WC_TABCONTROLA, "", WS_VISIBLE | WS_TABSTOP | TCS_OWNERDRAWFIXED, 0, 0, 10, 10);
  OnNotify(tabs_, [this](NMHDR* header) -> LRESULT {
    if (header->code == TCN_SELCHANGE) TabControlCookChange(TabCtrl_GetCurSel(tabs_));
    if (header->code == TCN_SELCHANGING) return model_.busy();  // TabControlCookChanging
    return 0;
  });

  const DWORD list = WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS;
  listView1_ = AddControl(WC_LISTVIEWA, "", list, 0, 0, 10, 10);
  ListView_SetExtendedListViewStyle(listView1_, LVS_EX_FULLROWSELECT);
  const char* titles1[] = {"Internet Address for Cookie", "Tidemark", "FireFox", "Comments"};
  for (int i = 0; i < 4; ++i) AddColumn(listView1_, i, titles1[i], layout_.list1Columns[static_cast<size_t>(i)]);
  imageList2_ = CreateSortArrows(S(9));
  Header_SetImageList(ListView_GetHeader(listView1_), imageList2_);
  OnNotify(listView1_, [this](NMHDR* header) -> LRESULT {
    if (header->code == LVN_COLUMNCLICK) ListView1ColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
    if (header->code == LVN_ITEMCHANGED && (reinterpret_cast<NMLISTVIEW*>(header)->uChanged & LVIF_STATE))
      ListView1SelectItem();
    return 0;
  });
  splitter1_.Create(hwnd(), [this](int y) { Splitter1Moved(y); }, true);
  listView2_ = AddControl(WC_LISTVIEWA, "", list | LVS_SINGLESEL, 0, 0, 10, 10);
  ListView_SetExtendedListViewStyle(listView2_, LVS_EX_FULLROWSELECT);
  const char* titles2[] = {"Cookie", "Data Name", "Data Value"};
  for (int i = 0; i < 3; ++i) AddColumn(listView2_, i, titles2[i], layout_.list2Columns[static_cast<size_t>(i)]);

  statusBar_ = AddControl(STATUSCLASSNAMEA, "", WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0);
  int parts[] = {S(420), -1};
  SendMessageA(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  hints_.Attach(statusBar_, 0);
  hints_.Set(edit1_, "|Enter text to list only the addresses, names or values holding it; Enter refreshes");
  hints_.Set(refresh_, "|Refresh the list with the current Filter");
  hints_.Set(protect_, "|Protect Selected Entries");
  hints_.Set(unprotect_, "|Remove Protection from Selected Entries");
  hints_.Set(random_, "|Randomize the values of Selected Entries at each Purge");
  hints_.Set(open_, "|Open the Selected web domain in FireFox");
  hints_.Set(edit_, "|Edit the Protect File Entries directly");
  hints_.Set(help_, "|Help for this window");
  hints_.Set(close_, "|Close This Window");

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

void TCookieForm::ShowModal(HWND owner) {
  Create(owner);
  ShowWindow(hwnd(), maximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(hwnd());
  FormActivate();
  SetFocus(listView1_);
  gui::RunModal(hwnd(), owner, closed_, [this](MSG& message) { return PreTranslate(message); });
}

bool TCookieForm::PreTranslate(MSG& message) {
  hints_.Track(message);
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1 && context_.help) {
    context_.help(help::kTopicProtect);
    return true;
  }
  if (message.message != WM_KEYDOWN || message.hwnd != listView1_) return false;
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
  SendMessageA(listView1_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), TRUE);
  SendMessageA(listView2_, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), TRUE);
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
  TabCtrl_DeleteAllItems(tabs_);
  std::vector<const char*> captions = {"for FireFox Cookies"};
  if (context_.protectedMode) {
    captions.push_back("for I.E. Normal Mode Cookies");
    captions.push_back("for I.E. Protected Mode Cookies");
  } else {
    captions.push_back("for Internet Explorer Cookies");
  }
  for (size_t i = 0; i < captions.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(captions[i]);
    SendMessageA(tabs_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  TabCtrl_SetCurSel(tabs_, 0);
}

void TCookieForm::SetButtons() {
  for (HWND control : {protect_, unprotect_, open_, random_}) EnableWindow(control, TRUE);
  const std::pair<HWND, UINT> actions[] = {
      {delete_, kDelete1}, {permitBlock_, kBlock1}, {permitAllow_, kAllow1}, {permitSession_, kSession1},
      {permitRemove_, kRemove1}};
  for (size_t i = 0; i < std::size(actions); ++i) {
    auto [button, item] = actions[i];
    cookies::ActionState state = model_.StateOf(static_cast<cookies::StoreAction>(i));
    EnableWindow(button, state.enabled);
    EnableMenuItem(popup_, item, MF_BYCOMMAND | (state.enabled ? MF_ENABLED : MF_GRAYED));
    hints_.Set(button, "|" + state.buttonHint);
    menuHints_[item] = state.menuHint;
  }
}

std::string TCookieForm::ColumnTitle(int column) const {
  char text[256] = {};
  LVCOLUMNA info{};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  SendMessageA(listView1_, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  return text;
}

void TCookieForm::TabControlCookChange(int index) {
  cookies::CookieTab tab = index == 0   ? cookies::CookieTab::Firefox
                           : index == 1 ? cookies::CookieTab::IENormal
                                        : cookies::CookieTab::IEProtected;
  if (!model_.SelectTab(tab)) return;
  if (TabCtrl_GetCurSel(tabs_) != index) TabCtrl_SetCurSel(tabs_, index);
  nextDescending_ = {true, false, false, false};
  const char* captions[] = {"Internet Address for FireFox Cookie", "Internet Address for \"I.E. Normal Mode\"",
                            "Internet Address for \"I.E. Protected Mode\""};
  SetColumnTitle(listView1_, 0, captions[static_cast<int>(tab)]);
  SetColumnTitle(listView1_, 2, tab == cookies::CookieTab::Firefox ? "FireFox" : " I.E.");
  SetColumnTitle(listView1_, 3, tab == cookies::CookieTab::Firefox ? "Comments" : "Local File");
  InvalidateRect(tabs_, nullptr, TRUE);
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
  std::string count = model_.CountText();
  SendMessageA(statusBar_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(count.c_str()));
  SetCursor(old);
}

void TCookieForm::ShowItems() {
  SendMessageA(listView1_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(listView1_);
  ListView_DeleteAllItems(listView2_);
  const std::vector<cookies::CookieAddress>& items = model_.items();
  for (size_t i = 0; i < items.size(); ++i)
    InsertRow(listView1_, static_cast<int>(i), cookies::RowTexts(items[i]), static_cast<LPARAM>(i));
  SortBy(0, true);
  SendMessageA(listView1_, WM_SETREDRAW, TRUE, 0);
  if (!items.empty()) SelectRows({0});
}

int TCookieForm::ItemOfRow(int row) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(listView1_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<int>(item.lParam);
}

cookies::CookieManager::Selection TCookieForm::Selected() const {
  cookies::CookieManager::Selection selected;
  for (int row = ListView_GetNextItem(listView1_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(listView1_, row, LVNI_SELECTED))
    selected.push_back(static_cast<size_t>(ItemOfRow(row)));
  return selected;
}

void TCookieForm::UpdateRow(int index) {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = index;
  int row = static_cast<int>(SendMessageA(listView1_, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  if (row < 0) return;
  std::vector<std::string> texts = cookies::RowTexts(model_.items()[static_cast<size_t>(index)]);
  for (int column = 1; column < 4; ++column)
    ListView_SetItemText(listView1_, row, column, texts[static_cast<size_t>(column)].data());
}

std::vector<std::vector<std::string>> TCookieForm::Rows() const { return CellTexts(listView1_, 4); }

std::vector<std::vector<std::string>> TCookieForm::DetailRows() const { return CellTexts(listView2_, 3); }

void TCookieForm::SelectRows(const std::vector<int>& rows) {
  ListView_SetItemState(listView1_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) ListView_SetItemState(listView1_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  if (!rows.empty()) ListView_EnsureVisible(listView1_, rows.front(), FALSE);
  ListView1SelectItem();
}

void TCookieForm::SelectAll() { ListView_SetItemState(listView1_, -1, LVIS_SELECTED, LVIS_SELECTED); }

void TCookieForm::ListView1SelectItem() {
  cookies::CookieManager::Selection selected = Selected();
  ListView_DeleteAllItems(listView2_);
  if (selected.size() != 1) return;
  int row = 0;
  for (const cookies::StoredCookie& cookie : model_.CookiesOf(selected.front()))
    InsertRow(listView2_, row++, {cookie.host, cookie.name, cookie.value}, 0);
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
  SortContext context{&keys, &captions, ascending};
  ListView_SortItems(listView1_, CompareItems, reinterpret_cast<LPARAM>(&context));
  // The sorted column shows its direction's arrow on the right, the others none.
  HWND header = ListView_GetHeader(listView1_);
  for (int i = 0; i < 4; ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    Header_GetItem(header, i, &item);
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    if (i == column) item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    item.iImage = ascending ? kArrowUp : kArrowDown;
    Header_SetItem(header, i, &item);
  }
}

int TCookieForm::HeaderArrow(int column) const {
  HDITEMA item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  Header_GetItem(ListView_GetHeader(listView1_), column, &item);
  return item.fmt & HDF_IMAGE ? item.iImage : -1;
}

void TCookieForm::SpeedButton1Click() {
  help::TCHform helpWindow(context_.files, context_.programFolder, context_.restore.pixelsPerInch);
  helpWindow.ShowModal(hwnd());
}

void TCookieForm::PopupListView1Menu1Popup(bool atSelection) {
  POINT at;
  int row = ListView_GetNextItem(listView1_, -1, LVNI_SELECTED | LVNI_FOCUSED);
  if (row < 0) row = ListView_GetNextItem(listView1_, -1, LVNI_SELECTED);
  if (atSelection && row >= 0) {
    RECT bounds{};
    ListView_GetItemRect(listView1_, row, &bounds, LVIR_LABEL);
    at = {bounds.left + S(10), bounds.bottom};
    ClientToScreen(listView1_, &at);
  } else {
    GetCursorPos(&at);
    at.y += 10;
  }
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

bool TCookieForm::CloseCookBtnClick() {
  if (!model_.Close()) return false;  // writes the protect lists
  closed_ = true;
  if (!context_.readOnlyMedia && !context_.settingsFile.empty()) {
    for (int i = 0; i < 4; ++i) layout_.list1Columns[static_cast<size_t>(i)] = ListView_GetColumnWidth(listView1_, i);
    for (int i = 0; i < 3; ++i) layout_.list2Columns[static_cast<size_t>(i)] = ListView_GetColumnWidth(listView2_, i);
    platform::PrivateProfileFile ini(context_.settingsFile);
    settings::SaveCookieWindow(ini, settings::StoredPositionOf(hwnd()), layout_);
  }
  gui::EndModal(hwnd(), owner_);
  return true;
}

void TCookieForm::DrawTab(const DRAWITEMSTRUCT& draw) {
  char text[128] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(tabs_, TCM_GETITEMA, draw.itemID, reinterpret_cast<LPARAM>(&item));
  bool selected = static_cast<int>(draw.itemID) == TabCtrl_GetCurSel(tabs_);
  RECT area = draw.rcItem;
  HBRUSH brush = CreateSolidBrush(selected ? kSelectedTab : GetSysColor(COLOR_BTNFACE));
  FillRect(draw.hDC, &area, brush);
  DeleteObject(brush);
  SetBkMode(draw.hDC, TRANSPARENT);
  SetTextColor(draw.hDC, selected ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ font = SelectObject(draw.hDC, gui::MessageFont());
  DrawTextA(draw.hDC, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(draw.hDC, font);
}

// The detail list keeps between 20 % and 60 % of the lists' height, and the
// address list at least 40 pixels.
void TCookieForm::Splitter1Moved(int y) {
  RECT client, bar;
  GetClientRect(hwnd(), &client);
  GetWindowRect(statusBar_, &bar);
  int bottom = client.bottom - (bar.bottom - bar.top);
  int panel = bottom - S(kPanel + kTabs);
  int height = bottom - y - S(kSplitter);
  height = std::clamp(height, panel / 5, std::max(panel / 5, std::min(panel * 3 / 5, panel - S(40))));
  layout_.list2Height = height;
  Layout();
}

void TCookieForm::Layout() {
  if (!statusBar_) return;
  SendMessageA(statusBar_, WM_SIZE, 0, 0);
  RECT client, bar;
  GetClientRect(hwnd(), &client);
  GetWindowRect(statusBar_, &bar);
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
  int top = S(kPanel), bottom = client.bottom - (bar.bottom - bar.top);
  place(tabs_, 0, top, client.right, S(kTabs));
  int listTop = top + S(kTabs);
  int panel = std::max(0, bottom - listTop);
  int lower = std::clamp(layout_.list2Height, panel / 5, std::max(panel / 5, std::min(panel * 3 / 5, panel - S(40))));
  int splitAt = bottom - lower - S(kSplitter);
  place(listView1_, 0, listTop, client.right, std::max(0, splitAt - listTop));
  place(splitter1_.hwnd(), 0, splitAt, client.right, S(kSplitter));
  place(listView2_, 0, splitAt + S(kSplitter), client.right, lower);
}

LRESULT TCookieForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = RowsOuterWidth(context_.restore.pixelsPerInch);
      return 0;
    case WM_CLOSE:
      CloseCookBtnClick();
      return 0;
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (draw->hwndItem == tabs_) {
        DrawTab(*draw);
        return TRUE;
      }
      break;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == listView1_) {
        PopupListView1Menu1Popup(lParam == -1);
        return 0;
      }
      break;
    case WM_MENUSELECT: {
      auto found = menuHints_.find(LOWORD(wParam));
      std::string hint = found == menuHints_.end() ? "" : found->second;
      SendMessageA(statusBar_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(hint.c_str()));
      break;
    }
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::app
