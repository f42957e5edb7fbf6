#include "app/cookie_form_win.h"

#include <algorithm>

#include "cookies/protect_editors_win.h"
#include "cookies/protect_file.h"
#include "cookies/user_messages_win.h"
#include "engine/deletion.h"
#include "firefox/firefox_purges.h"
#include "help/cookie_help_win.h"
#include "help/font_form_win.h"
#include "help/help_topics.h"
#include "ie/ie_cookie_file.h"
#include "ie/index_file.h"
#include "ie/purge_index.h"
#include "platform/ini_file.h"
#include "platform/product.h"
#include "platform/text.h"
#include "settings/window_place_win.h"

namespace tidemark::app {
namespace {

constexpr settings::DesignedSize kDesigned{760, 520};
constexpr int kMargin = 6, kButton = 25, kRow2 = 36, kPanel = 66, kTabs = 24, kSplitter = 5;
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

const char* const kCountWord[] = {" Cookie Addresses", " Cookie Addreses"};

std::string Caption(const char* suffix) { return std::string(kProductName) + suffix; }

// Letters, digits, "-" and "." with an optional port: nothing the shell
// could read as a further argument.
bool IsPlainHostName(std::string_view address) {
  size_t colon = address.find(':');
  std::string_view host = address.substr(0, colon);
  if (host.empty()) return false;
  for (char c : host)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'))
      return false;
  if (colon == std::string_view::npos) return true;
  std::string_view port = address.substr(colon + 1);
  return !port.empty() && port.size() <= 5 && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The address's entry, whatever it was, becomes prefix + address.
void ReplaceProtectEntry(cookies::ProtectList& list, const std::string& address, const char* prefix) {
  cookies::ProtectMatch match = cookies::FindCookieProtect(list, address);
  if (match.found) list.entries.erase(list.entries.begin() + match.index);
  cookies::AddProtectEntry(list.entries, prefix + LowerCase(address));
  list.Dirty = true;
}

// The purge environment a deletion of the window runs in: the purge's
// deletion engine and shred settings with its Secure Erase; no report.
class Deletion : engine::ReportSink, engine::ProgressLabel, engine::MessagePump {
 public:
  Deletion(const engine::PurgeState& purge, const engine::PurgeResources& resources)
      : state_{.flags = purge.flags}, env(report_, state_, resources) {}

 private:
  void Append(const std::string&) override {}
  void InsertFirst(const std::string&) override {}
  void Clear() override {}
  size_t LineCount() const override { return 0; }
  std::string LineAt(size_t) const override { return {}; }
  void SetText(const std::string&) override {}
  void SetColour(uint32_t) override {}
  void Pump() override {}
  void Sleep(unsigned) override {}
  engine::Report report_{*this, *this, *this, ""};
  engine::PurgeState state_;

 public:
  engine::PurgeEnvironment env;
};

// Never asked for: filling a list removes nothing.
class NoRemover : public ie::CachedFileRemover {
 public:
  bool Remove(const std::string&) override { return false; }
  uint32_t LastError() const override { return 0; }
  uint32_t ClusterSize(const std::string&) override { return 0; }
};

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

std::string CellText(HWND list, int row, int column) {
  char text[1024] = {};
  ListView_GetItemText(list, row, column, text, sizeof text);
  return text;
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

// Held while an action walks the selection: no other action runs meanwhile
// (nor once the window is closing), and closing is refused until it is done.
struct BusyGuard {
  BusyGuard(bool& flag, bool closed) : flag(flag), acquired(!flag && !closed) {
    if (acquired) flag = true;
  }
  ~BusyGuard() {
    if (acquired) flag = false;
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
  bool& flag;
  const bool acquired;
};

}  // namespace

TCookieForm::TCookieForm(CookieFormContext& context) : context_(context) {
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
  CreateWindowOf("TCookieForm", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 0, 0,
                 kDesigned.width, kDesigned.height, owner);
  std::optional<settings::WindowPlacement> placement;
  if (!context_.settingsFile.empty()) {
    platform::PrivateProfileFile ini(context_.settingsFile);
    placement = settings::RestoreCookieWindow(ini, context_.restore, kDesigned, context_.fonts, layout_);
  }
  CreateControls();
  maximised_ = settings::ApplyPlacement(hwnd(), owner, placement, kDesigned, context_.restore.pixelsPerInch);
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
  permitBlock_ = AddButton("Block", 0, 0, 10, 10, [this] { SetCookiePermission(cookies::PermissionChange::Block); }, button);
  permitAllow_ = AddButton("Allow", 0, 0, 10, 10, [this] { SetCookiePermission(cookies::PermissionChange::Allow); }, button);
  permitSession_ =
      AddButton("Session", 0, 0, 10, 10, [this] { SetCookiePermission(cookies::PermissionChange::Session); }, button);
  permitRemove_ =
      AddButton("Remove", 0, 0, 10, 10, [this] { SetCookiePermission(cookies::PermissionChange::Remove); }, button);
  help_ = AddButton("Help", 0, 0, 10, 10, [this] { SpeedButton1Click(); }, button);
  close_ = AddButton("Close This Window", 0, 0, 10, 10, [this] { CloseCookBtnClick(); }, button);
  OnCommandId(IDCANCEL, [this] { CloseCookBtnClick(); });
  OnCommandId(IDOK, [this] {
    if (GetFocus() == edit1_) RefreshBtnClick();  // Enter in the filter
  });

  tabs_ = AddControl(WC_TABCONTROLA, "", WS_VISIBLE | WS_TABSTOP | TCS_OWNERDRAWFIXED, 0, 0, 10, 10);
  OnNotify(tabs_, [this](NMHDR* header) -> LRESULT {
    if (header->code == TCN_SELCHANGE) TabControlCookChange(TabCtrl_GetCurSel(tabs_));
    if (header->code == TCN_SELCHANGING) return busy_;  // TabControlCookChanging
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
  const std::pair<UINT, const char*> items[] = {{kProtect1, "Protect"}, {kUnProtect1, "UnProtect"}, {kBlock1, "Block"},
                                                {kAllow1, "Allow"},     {kSession1, "Session"},     {kRemove1, "Remove"},
                                                {kOpen1, "Open"},       {kDelete1, "Delete"},       {kRandomize1, "Randomize"}};
  for (const auto& [id, text] : items) AppendMenuA(popup_, MF_STRING, id, text);
  OnCommandId(kProtect1, [this] { Protect1Click(); });
  OnCommandId(kUnProtect1, [this] { UnProtect1Click(); });
  OnCommandId(kBlock1, [this] { SetCookiePermission(cookies::PermissionChange::Block); });
  OnCommandId(kAllow1, [this] { SetCookiePermission(cookies::PermissionChange::Allow); });
  OnCommandId(kSession1, [this] { SetCookiePermission(cookies::PermissionChange::Session); });
  OnCommandId(kRemove1, [this] { SetCookiePermission(cookies::PermissionChange::Remove); });
  OnCommandId(kOpen1, [this] { OpenSbtnClick(); });
  OnCommandId(kDelete1, [this] { DeleteSBtnClick(); });
  OnCommandId(kRandomize1, [this] { RandomSbtnClick(); });
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
  firefoxList_ = cookies::LoadCookieProtectList(context_.files, context_.firefoxProtectFile);
  if (!firefoxList_.OpenedOK)
    Message("  -  Message", "Unable to open exsting FireFox Protect file - " + context_.firefoxProtectFile +
                                "\r\n\r\nAny changes made here will be discarded...");
  ieList_ = cookies::LoadCookieProtectList(context_.files, context_.ieProtectFile);
  if (!ieList_.OpenedOK)
    Message("  -  Message", "Unable to open exsting I.E. Protect file - " + context_.ieProtectFile +
                                "\r\n\r\nAny changes made here will be discarded...");
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
  // The actions that change Firefox's files wait while Firefox runs.
  const char* const deleteHint = "|Delete the Cookies of Selected Entries now";
  struct Action {
    HWND button;
    UINT item;
    const char* name;
    const char* firefoxHint;
    const char* ieHint;
  } const actions[] = {
      {delete_, kDelete1, "Delete", deleteHint, deleteHint},
      {permitBlock_, kBlock1, "Block", "|Set Selected Entry in FireFox's Cookie Settings to \"Block\"",
       "|Set Selected Entry in I.E.'s Cookie Settings to \"Block\""},
      {permitAllow_, kAllow1, "Allow", "|Set Selected Entry in FireFox's Cookie Settings to \"Allow\"",
       "|Set Selected Entry in I.E.'s Cookie Settings to \"Allow\""},
      {permitSession_, kSession1, "Session", "|Set Selected Entry in FireFox's Cookie Settings to \"Allow for Session\"",
       "|"},
      {permitRemove_, kRemove1, "Remove", "|Remove Selected Entry from FireFox's Cookie Settings",
       "|Remove Selected Entry from I.E.'s Cookie Settings"},
  };
  const bool firefoxActive = FirefoxActive();
  for (const Action& action : actions) {
    bool enabled;
    std::string hint, menuHint;
    if (firefoxActive) {
      enabled = false;
      hint = std::string("|\"") + action.name + "\" Button Disabled - FireFox is Active";
      menuHint = std::string("|\"") + action.name + "\" Disabled - FireFox is Active";
    } else if (tab_ == CookieTab::Firefox) {
      enabled = true;
      hint = menuHint = action.firefoxHint;
    } else {
      enabled = action.button != permitSession_;
      hint = menuHint = action.ieHint;
    }
    EnableWindow(action.button, enabled);
    EnableMenuItem(popup_, action.item, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    hints_.Set(action.button, hint);
    menuHints_[action.item] = menuHint.substr(1);
  }
}

bool TCookieForm::FirefoxActive() const {
  return tab_ == CookieTab::Firefox && context_.firefoxRunning && context_.firefoxRunning();
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
  if (busy_) return;
  if (ieList_.Dirty) {
    cookies::MessageBoxMessages messages(hwnd());
    cookies::SaveCookieProtectList(ieList_, context_.ieProtectFile, context_.files, messages);
  }
  CookieTab tab = index == 0 ? CookieTab::Firefox : index == 1 ? CookieTab::IENormal : CookieTab::IEProtected;
  tab_ = tab;
  if (TabCtrl_GetCurSel(tabs_) != index) TabCtrl_SetCurSel(tabs_, index);
  ListView_DeleteAllItems(listView1_);
  ListView_DeleteAllItems(listView2_);
  items_.clear();
  nextDescending_ = {true, false, false, false};
  const char* captions[] = {"Internet Address for FireFox Cookie", "Internet Address for \"I.E. Normal Mode\"",
                            "Internet Address for \"I.E. Protected Mode\""};
  SetColumnTitle(listView1_, 0, captions[static_cast<int>(tab_)]);
  SetColumnTitle(listView1_, 2, tab_ == CookieTab::Firefox ? "FireFox" : " I.E.");
  SetColumnTitle(listView1_, 3, tab_ == CookieTab::Firefox ? "Comments" : "Local File");
  InvalidateRect(tabs_, nullptr, TRUE);
  Fill();
}

void TCookieForm::RefreshBtnClick() {
  if (busy_) return;
  Fill();
}

void TCookieForm::Fill() {
  SetButtons();
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  items_.clear();
  if (tab_ == CookieTab::Firefox)
    FillFirefox();
  else
    FillIE();
  MarkStatus();
  ShowItems();
  SendMessageA(statusBar_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(countText_.c_str()));
  SetCursor(old);
}

bool TCookieForm::Passes(std::string_view text) const {
  std::string filter = LowerCase(Trim(gui::WindowText(edit1_)));
  return filter.empty() || LowerCase(text).find(filter) != std::string::npos;
}

void TCookieForm::FillFirefox() {
  const locations::FirefoxLocations& firefox = context_.firefox;
  cookiesTxt_ = {};
  if (firefox.FirefoxSqliteFormat) {
    cookies::MessageBoxMessages messages(hwnd());
    firefox::CookieLoadResult load =
        firefox::LoadFirefoxCookies(context_.files, firefox.CookiesSqliteFile, FirefoxActive(), cookies_);
    firefox::ShowCookieLoadProblem(load.outcome, messages);
  } else {
    if (!locations::IsFileNotFoundText(firefox.CookiesTxtFile) && !firefox.FirefoxProfileFolder.empty())
      if (auto text = context_.files.ReadFile(firefox.CookiesTxtFile)) cookiesTxt_ = firefox::ParseCookiesTxt(*text);
    cookies_ = cookiesTxt_.cookies;
    firefox::SortCookies(cookies_);
  }
  int hosts = 0;
  std::string lastHost, lastListed;
  for (const firefox::FirefoxCookie& cookie : cookies_) {
    // Comments and empty lines are no cookies; HttpOnly ones are, of their host.
    std::string host = cookie.notice ? cookie.line : firefox::CookieHost(cookie.line);
    if (host.empty()) continue;
    std::vector<std::string> fields = Split(cookie.line, '\t');
    if (host != lastHost) ++hosts;
    lastHost = host;
    std::string name = fields.size() > 5 ? fields[5] : "", value = fields.size() > 6 ? fields[6] : "";
    if ((Passes(host) || Passes(name) || Passes(value)) && host != lastListed) {
      items_.push_back({host});
      lastListed = host;
    }
  }
  countText_ = "Displayed " + std::to_string(items_.size()) + " of " + std::to_string(hosts) + kCountWord[0];
  for (Item& item : items_) item.permission = context_.firefoxPermissions.Find(item.caption).value_or("");
}

std::string TCookieForm::IEFolder() const {
  return tab_ == CookieTab::IEProtected ? context_.ie.LowCookiesFolder : context_.ie.IECookiesFolder;
}

void TCookieForm::FillIE() {
  cookies::MessageBoxMessages messages(hwnd());
  NoRemover remover;
  ie::IndexFile index(context_.memory, ie::IndexFoldersOf(context_.ie), remover, messages, {});
  const char kind = tab_ == CookieTab::IEProtected ? 'c' : 'C';
  std::string filter = UpperCase(Trim(gui::WindowText(edit1_)));
  int cookieCount = 0;
  std::string folder = IEFolder();
  if (!folder.empty() && index.OpenIndexFile(folder, kind) && index.LockIndex()) {
    while (index.NextUrlRecord()) {
      const ie::UrlRecordInfo& record = index.Record();
      if (!StartsWithNoCase(record.Url, "COOKIE:")) continue;
      ++cookieCount;
      bool passes = filter.empty();
      if (!passes)
        if (auto text = context_.files.ReadFile(record.CachedFilePath))
          for (const ie::IECookieRecord& cookie : ie::ParseIECookieFile(*text))
            passes = passes || UpperCase(cookie.name).find(filter) != std::string::npos ||
                     UpperCase(cookie.value).find(filter) != std::string::npos ||
                     UpperCase(cookie.host).find(filter) != std::string::npos;
      if (passes) items_.push_back({record.Url, " ", "", FileNameOf(record.CachedFilePath), record.CachedFilePath});
    }
    index.UnlockIndex();
  }
  index.CloseIndexFile();
  countText_ = "Displayed " + std::to_string(items_.size()) + " of " + std::to_string(cookieCount) + kCountWord[1];
  for (Item& item : items_) item.permission = context_.iePermissions.Find(item.caption);
}

void TCookieForm::MarkStatus() {
  const cookies::ProtectList& list = TabList();
  for (Item& item : items_) {
    cookies::ProtectStatus status = cookies::MarkProtectStatus(list, item.caption);
    item.status = cookies::ProtectStatusText(status);
  }
}

void TCookieForm::ShowItems() {
  SendMessageA(listView1_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(listView1_);
  ListView_DeleteAllItems(listView2_);
  for (size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    InsertRow(listView1_, static_cast<int>(i), {item.caption, item.status, item.permission, item.comment},
              static_cast<LPARAM>(i));
  }
  SortBy(0, true);
  SendMessageA(listView1_, WM_SETREDRAW, TRUE, 0);
  if (!items_.empty()) SelectRows({0});
}

int TCookieForm::ItemOfRow(int row) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(listView1_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<int>(item.lParam);
}

std::vector<int> TCookieForm::Selected() const {
  std::vector<int> selected;
  for (int row = ListView_GetNextItem(listView1_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(listView1_, row, LVNI_SELECTED))
    selected.push_back(ItemOfRow(row));
  return selected;
}

void TCookieForm::UpdateRow(int index) {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = index;
  int row = static_cast<int>(SendMessageA(listView1_, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  if (row < 0) return;
  const Item& item = items_[static_cast<size_t>(index)];
  ListView_SetItemText(listView1_, row, 1, const_cast<char*>(item.status.c_str()));
  ListView_SetItemText(listView1_, row, 2, const_cast<char*>(item.permission.c_str()));
  ListView_SetItemText(listView1_, row, 3, const_cast<char*>(item.comment.c_str()));
}

std::vector<TCookieForm::Row> TCookieForm::Rows() const {
  std::vector<Row> rows;
  for (int row = 0; row < ListView_GetItemCount(listView1_); ++row)
    rows.push_back({CellText(listView1_, row, 0), CellText(listView1_, row, 1), CellText(listView1_, row, 2),
                    CellText(listView1_, row, 3)});
  return rows;
}

std::vector<std::vector<std::string>> TCookieForm::DetailRows() const {
  std::vector<std::vector<std::string>> rows;
  for (int row = 0; row < ListView_GetItemCount(listView2_); ++row)
    rows.push_back({CellText(listView2_, row, 0), CellText(listView2_, row, 1), CellText(listView2_, row, 2)});
  return rows;
}

void TCookieForm::SelectRows(const std::vector<int>& rows) {
  ListView_SetItemState(listView1_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) ListView_SetItemState(listView1_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  if (!rows.empty()) ListView_EnsureVisible(listView1_, rows.front(), FALSE);
  ListView1SelectItem();
}

void TCookieForm::SelectAll() { ListView_SetItemState(listView1_, -1, LVIS_SELECTED, LVIS_SELECTED); }

void TCookieForm::ListView1SelectItem() {
  std::vector<int> selected = Selected();
  ListView_DeleteAllItems(listView2_);
  if (selected.size() != 1) return;
  const Item& item = items_[static_cast<size_t>(selected.front())];
  int row = 0;
  if (tab_ == CookieTab::Firefox) {
    for (const firefox::FirefoxCookie& cookie : cookies_) {
      if (cookie.notice || firefox::CookieHost(cookie.line) != item.caption) continue;
      std::vector<std::string> fields = Split(cookie.line, '\t');
      InsertRow(listView2_, row++, {item.caption, fields.size() > 5 ? fields[5] : "", fields.size() > 6 ? fields[6] : ""}, 0);
    }
  } else if (auto text = context_.files.ReadFile(item.localFile)) {
    for (const ie::IECookieRecord& cookie : ie::ParseIECookieFile(*text))
      InsertRow(listView2_, row++, {cookie.host, cookie.name, cookie.value}, 0);
  }
}

void TCookieForm::Message(const std::string& captionSuffix, const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), Caption(captionSuffix.c_str()).c_str(), MB_OK);
}

void TCookieForm::Protect1Click() {
  BusyGuard guard(busy_, closed_);
  if (!guard.acquired) return;
  std::vector<int> selected = Selected();
  if (selected.empty()) return Message("  -  Error Condition", "No entry selected for Protect function");
  cookies::ProtectList& list = TabList();
  for (int index : selected) {
    Item& item = items_[static_cast<size_t>(index)];
    cookies::ProtectMatch match = cookies::FindCookieProtect(list, item.caption);
    if (match.found && match.kind == 'R' && item.comment != kOnlyInProtectFile) {
      if (!context_.confirmations.randomToProtectYesToAll) {
        std::string text = std::string("When changing from \"Random\" to \"Protect\"\r\n") + kProductName +
                           " will delete the current Cookie\r\nso that it can be recreated by the sender.\r\n\r\n"
                           "Press \"Yes\" to confirm this Request\r\n\r\nPress \"No\" to deny this Request\r\n\r\n"
                           "Press \"Yes To All\" to confirm all Random to Protect Requests\r\n"
                           " [this turns off \"Confirmation\" for Random to Protect]";
        cookies::ConfirmAnswer answer =
            cookies::ConfirmYesNoYesToAll(hwnd(), Caption("  -  Random to Protect Confirmation"), text);
        if (answer == cookies::kConfirmNo) continue;
        if (answer == cookies::kConfirmYesToAll) context_.confirmations.randomToProtectYesToAll = true;
      }
      std::string result = DeleteCookieOf(item);
      item.comment = result == "Deleted" ? kOnlyInProtectFile : "not deleted - " + result;
    }
    item.status = "Protect";
    ReplaceProtectEntry(list, item.caption, "p=");
    UpdateRow(index);
  }
}

void TCookieForm::RandomSbtnClick() {
  BusyGuard guard(busy_, closed_);
  if (!guard.acquired) return;
  std::vector<int> selected = Selected();
  if (selected.empty()) return Message("  -  Error Condition", "No entry selected for Randomize function");
  cookies::ProtectList& list = TabList();
  for (int index : selected) {
    Item& item = items_[static_cast<size_t>(index)];
    if (item.status == "Random") continue;
    item.status = "Random";
    ReplaceProtectEntry(list, item.caption, "r=");
    UpdateRow(index);
  }
}

void TCookieForm::UnProtect1Click() {
  BusyGuard guard(busy_, closed_);
  if (!guard.acquired) return;
  std::vector<int> selected = Selected();
  cookies::ProtectList& list = TabList();
  bool any = false;
  for (auto at = selected.rbegin(); at != selected.rend(); ++at) {
    Item& item = items_[static_cast<size_t>(*at)];
    if (item.status != "Protect" && item.status != "Random") continue;
    any = true;
    std::string entry = (item.status == "Random" ? "r=" : "p=") + item.caption;
    item.status = " ";
    item.comment = "Protect removed";
    std::erase_if(list.entries, [&](const std::string& listed) { return SameText(listed, entry); });
    list.Dirty = true;
    UpdateRow(*at);
  }
  if (!any) Message("  -  Error Condition", "No \"Protect\" entry selected for Unprotect function");
}

void TCookieForm::DeleteSBtnClick() {
  if (FirefoxActive()) return SetButtons();
  BusyGuard guard(busy_, closed_);
  if (!guard.acquired) return;
  std::vector<int> selected = Selected();
  if (selected.empty()) return Message("  -  Error Condition", "No entry selected for Delete function");
  if (!context_.confirmations.deleteYesToAll) {
    std::string what = selected.size() == 1 ? "selected entry, " : std::to_string(selected.size()) + " selected entries,";
    std::string text = "For your request to delete the " + what +
                       "\r\n\r\nPress \"Yes\" to confirm this Delete Request\r\n\r\nPress \"No\" to deny this Delete "
                       "Request\r\n\r\nPress \"Yes To All\" to confirm all Delete Requests\r\n"
                       " [this turns off \"Confirmation\" for Deletes]";
    cookies::ConfirmAnswer answer = cookies::ConfirmYesNoYesToAll(hwnd(), Caption("  -  Delete Confirmation"), text);
    if (answer == cookies::kConfirmNo) return;
    if (answer == cookies::kConfirmYesToAll) context_.confirmations.deleteYesToAll = true;
  }
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  bool advised = false;
  for (int index : selected) {
    Item& item = items_[static_cast<size_t>(index)];
    bool protectedItem = item.status == "Protect" || item.status == "Random";
    if (protectedItem && item.comment == kOnlyInProtectFile) {
      if (!advised)
        Message("  -  Information Message", "You must use UnProtect to Remove \r\nan entry from the Protect File.");
      advised = true;
      continue;
    }
    if (item.comment == "Deleted") continue;
    std::string result = DeleteCookieOf(item);
    if (result == "Deleted")
      item.comment = protectedItem ? kOnlyInProtectFile : "Deleted";
    else
      item.comment = "not deleted - " + result;
    UpdateRow(index);
  }
  ListView1SelectItem();
  SetCursor(old);
}

std::string TCookieForm::DeleteCookieOf(Item& item) {
  return tab_ == CookieTab::Firefox ? DeleteFirefoxHost(item.caption) : DeleteIECookie(item.caption);
}

// The host's lines (HttpOnly ones too) leave the list only once the store
// has let them go. Firefox rewrites its cookies while it runs, so none goes then.
std::string TCookieForm::DeleteFirefoxHost(const std::string& host) {
  if (FirefoxActive()) return "FireFox is Active";
  auto ofHost = [&](const firefox::FirefoxCookie& cookie) {
    return !cookie.notice && firefox::CookieHost(cookie.line) == host;
  };
  std::vector<firefox::FirefoxCookie> run;
  std::copy_if(cookies_.begin(), cookies_.end(), std::back_inserter(run), ofHost);
  if (run.empty()) return "Cookie File not found to Delete";
  Deletion deletion(context_.purge, context_.purgeResources());
  if (context_.firefox.FirefoxSqliteFormat) {
    try {
      firefox::TSQLiteDatabase database =
          firefox::OpenProfileDatabase(deletion.env, context_.firefox.CookiesSqliteFile);
      firefox::DeleteCookieRows(database, run);
    } catch (const firefox::ESQLiteException&) {
      Message(" -  Message", "Delete Entry from Cookies file failed... \r\nExecution will continue...");
      return "Cookies file not changed";
    }
    std::erase_if(cookies_, ofHost);
    return "Deleted";
  }
  std::erase_if(cookiesTxt_.cookies, ofHost);
  if (firefox::ReplaceCookiesTxt(deletion.env, cookiesTxt_) == firefox::CookiesTxtReplace::Failed) {
    cookiesTxt_.cookies.insert(cookiesTxt_.cookies.end(), run.begin(), run.end());
    return "Cookies file not changed";
  }
  std::erase_if(cookies_, ofHost);
  return "Deleted";
}

std::string TCookieForm::DeleteIECookie(const std::string& url) {
  cookies::MessageBoxMessages messages(hwnd());
  Deletion deletion(context_.purge, context_.purgeResources());
  ie::EngineFileRemover remover(deletion.env);
  ie::IndexFile index(context_.memory, ie::IndexFoldersOf(context_.ie), remover, messages, {});
  const char kind = tab_ == CookieTab::IEProtected ? 'c' : 'C';
  uint32_t code = 0;
  bool deleted = false;
  if (index.OpenIndexFile(IEFolder(), kind) && index.LockIndex()) {
    deleted = index.DeleteRecordByUrl(url);
    code = index.LastDeleteError();
    index.UnlockIndex();
  }
  index.CloseIndexFile();
  if (deleted) return "Deleted";
  namespace error = engine::error_code;
  if (code == 0 || code == error::kFileNotFound) return "Error in URL";
  if (code == error::kAccessDenied || code == error::kSharingViolation || code == error::kLockViolation ||
      code == error::kUserMappedFile)
    return "Locked";
  return "Error-" + std::to_string(code);
}

void TCookieForm::OpenSbtnClick() {
  std::vector<int> selected = Selected();
  if (selected.empty()) return Message("  -  Error Condition", "No Cookie entry selected for Open function");
  std::string address = items_[static_cast<size_t>(selected.front())].caption;
  if (tab_ == CookieTab::Firefox) {
    if (StartsWith(address, ".")) address.erase(0, 1);
  } else if (size_t at = address.find('@'); at != std::string::npos) {
    address.erase(0, at + 1);
  }
  if (tab_ != CookieTab::Firefox) address = address.substr(0, address.find('/'));
  // Only a plain host name reaches the shell: no quote or blank can add arguments.
  if (!IsPlainHostName(address) || !context_.openInFirefox || !context_.openInFirefox(address))
    Message("  -  Error Condition", "Unable to execute FireFox to Open the web domain");
}

const std::string& TCookieForm::TabListPath() const {
  return tab_ == CookieTab::Firefox ? context_.firefoxProtectFile : context_.ieProtectFile;
}

void TCookieForm::EditSbtnClick() {
  BusyGuard guard(busy_, closed_);
  if (!guard.acquired) return;
  cookies::ProtectList& list = TabList();
  bool firefoxTab = tab_ == CookieTab::Firefox;
  if (!list.OpenedOK)
    return Message("  -  Message", std::string(firefoxTab ? "Unable to open exsting FireFox Protect file - \r\n"
                                                          : "Unable to open exsting I.E. Protect file - \r\n") +
                                       TabListPath());
  std::string caption =
      Caption(firefoxTab ? " - Edit Protect File Entries for FireFox" : " - Edit Protect File Entries for I.E.");
  cookies::TProtEditForm editor(caption, list.entries, context_.restore.pixelsPerInch);
  editor.ShowModal(hwnd());
  list.entries = editor.Entries();
  cookies::SortProtectEntries(list.entries);
  list.Dirty = true;
  Fill();
}

void TCookieForm::SetCookiePermission(cookies::PermissionChange change) {
  if (FirefoxActive()) return SetButtons();
  BusyGuard guard(busy_, closed_);
  if (!guard.acquired) return;
  std::vector<int> selected = Selected();
  if (selected.empty()) return Message("  -  Error Condition", "No entry selected for Exception Function");
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  for (int index : selected) {
    Item& item = items_[static_cast<size_t>(index)];
    std::string host = StartsWith(item.caption, ".") ? item.caption.substr(1) : item.caption;
    if (tab_ == CookieTab::Firefox) {
      if (!context_.firefoxPermissions.Set(host, change)) continue;
    } else {
      std::optional<std::string> domain = ie::IEPermissionDomain(item.caption);
      if (!domain || change == cookies::PermissionChange::Session) continue;
      if (!context_.iePermissions.Set(*domain, change)) continue;
    }
    item.permission = cookies::PermissionChangeText(change);
    UpdateRow(index);
  }
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
  for (const Item& item : items_) {
    captions.push_back(item.caption);
    keys.push_back(column == 0 ? item.caption : column == 1 ? item.status : column == 2 ? item.permission : item.comment);
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

void TCookieForm::SaveLists() {
  cookies::MessageBoxMessages messages(hwnd());
  cookies::SaveCookieProtectList(firefoxList_, context_.firefoxProtectFile, context_.files, messages);
  cookies::SaveCookieProtectList(ieList_, context_.ieProtectFile, context_.files, messages);
}

bool TCookieForm::CloseCookBtnClick() {
  if (busy_ || closed_) return false;
  closed_ = true;
  if (!context_.readOnlyMedia && !context_.settingsFile.empty()) {
    for (int i = 0; i < 4; ++i) layout_.list1Columns[static_cast<size_t>(i)] = ListView_GetColumnWidth(listView1_, i);
    for (int i = 0; i < 3; ++i) layout_.list2Columns[static_cast<size_t>(i)] = ListView_GetColumnWidth(listView2_, i);
    platform::PrivateProfileFile ini(context_.settingsFile);
    settings::SaveCookieWindow(ini, settings::StoredPositionOf(hwnd()), layout_);
  }
  SaveLists();
  items_.clear();
  cookies_.clear();
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
  int m = S(kMargin), b = S(kButton), w = S(70);
  place(label1_, m, m + S(4), S(34), S(16));
  place(edit1_, m + S(36), m + S(1), S(126), S(23));
  HWND row1[] = {refresh_, protect_, unprotect_, random_, delete_, open_, edit_, help_};
  int x = m + S(168);
  for (HWND control : row1) {
    place(control, x, m, w, b);
    x += w + S(4);
  }
  x = m + S(168) + w + S(4);
  for (HWND control : {permitBlock_, permitAllow_, permitSession_, permitRemove_}) {
    place(control, x, S(kRow2), w, b);
    x += w + S(4);
  }
  place(close_, x + S(4 + 70 + 4), S(kRow2), S(144), b);
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
