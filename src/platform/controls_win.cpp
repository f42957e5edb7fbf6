#include "platform/controls_win.h"

#include <richedit.h>

#include <algorithm>
#include <optional>
#include <string_view>

namespace tidemark::gui {
namespace {

constexpr COLORREF kArrowMask = RGB(255, 0, 255);

// The header's sort arrows (kArrowUp, kArrowDown): small triangles in the
// shadow colour on a masked background.
HIMAGELIST CreateSortArrows(int size) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0);
  WindowDC screen;
  MemoryDC dc(screen);
  SolidBrush mask(kArrowMask), shadow(GetSysColor(COLOR_BTNSHADOW));
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
  const int half = size / 2, top = (size - half) / 2, bottom = top + half;
  for (bool up : {true, false}) {
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, size, size));
    {
      SelectedObject drawn(dc, bitmap);
      RECT all{0, 0, size, size};
      FillRect(dc, &all, mask);
      SelectedObject brush(dc, shadow), outline(dc, pen);
      POINT upward[] = {{half, top}, {size - 1, bottom}, {0, bottom}};
      POINT downward[] = {{0, top}, {size - 1, top}, {half, bottom}};
      Polygon(dc, up ? upward : downward, 3);
    }
    ImageList_AddMasked(list, bitmap, kArrowMask);
  }
  return list;
}

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM compare) {
  return (*reinterpret_cast<const std::function<int(LPARAM, LPARAM)>*>(compare))(a, b);
}

// Feeds a rich-text box from a string.
DWORD CALLBACK ReadStream(DWORD_PTR source, LPBYTE buffer, LONG wanted, LONG* given) {
  auto& rest = *reinterpret_cast<std::string_view*>(source);
  size_t count = std::min(static_cast<size_t>(wanted), rest.size());
  std::copy_n(rest.data(), count, buffer);
  rest.remove_prefix(count);
  *given = static_cast<LONG>(count);
  return 0;
}

}  // namespace

// ListView ---------------------------------------------------------------------

ListView::~ListView() {
  if (arrows_) ImageList_Destroy(arrows_);
}

void ListView::Create(Window& parent, DWORD style, DWORD extendedStyle, int x, int y, int width, int height) {
  CreateList(parent, style, extendedStyle, x, y, width, height);
}

void ListView::CreateVirtual(Window& parent, DWORD style, DWORD extendedStyle, int x, int y, int width, int height,
                             std::function<std::string(size_t row)> rowText) {
  rowText_ = std::move(rowText);
  CreateList(parent, style | LVS_OWNERDATA, extendedStyle, x, y, width, height);
}

void ListView::CreateList(Window& parent, DWORD style, DWORD extendedStyle, int x, int y, int width, int height) {
  list_ = parent.AddControl(WC_LISTVIEWA, "", style | LVS_REPORT, x, y, width, height);
  ListView_SetExtendedListViewStyle(list_, extendedStyle);
  parent.OnNotify(list_, [this](NMHDR* header) { return Notify(header); });
}

void ListView::AddColumn(const std::string& title, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(title.c_str());
  column.cx = width;
  int count = Header_GetItemCount(ListView_GetHeader(list_));
  SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(&column));
}

void ListView::SetColumnWidth(int column, int width) { ListView_SetColumnWidth(list_, column, width); }

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(list_, column); }

std::string ListView::ColumnTitle(int column) const {
  char text[256] = {};
  LVCOLUMNA info{};
  info.mask = LVCF_TEXT;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  SendMessageA(list_, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
  return text;
}

void ListView::SetColumnTitle(int column, const std::string& title) {
  LVCOLUMNA info{};
  info.mask = LVCF_TEXT;
  info.pszText = const_cast<char*>(title.c_str());
  SendMessageA(list_, LVM_SETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
}

int ListView::AddRow(const std::vector<std::string>& texts, LPARAM value) {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = RowCount();
  item.pszText = const_cast<char*>(texts.empty() ? "" : texts.front().c_str());
  item.lParam = value;
  int row = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t column = 1; column < texts.size(); ++column)
    ListView_SetItemText(list_, row, static_cast<int>(column), const_cast<char*>(texts[column].c_str()));
  return row;
}

std::string ListView::Cell(int row, int column) const {
  char text[1024] = {};
  ListView_GetItemText(list_, row, column, text, sizeof text);
  return text;
}

void ListView::SetCell(int row, int column, const std::string& text) {
  ListView_SetItemText(list_, row, column, const_cast<char*>(text.c_str()));
}

LPARAM ListView::ValueOf(int row) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

int ListView::RowOf(LPARAM value) const {
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = value;
  return static_cast<int>(SendMessageA(list_, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

int ListView::RowCount() const { return ListView_GetItemCount(list_); }

void ListView::Clear() { ListView_DeleteAllItems(list_); }

void ListView::SetRowCount(size_t count) {
  virtualRows_ = count;
  ListView_SetItemCountEx(list_, static_cast<int>(count), LVSICF_NOSCROLL);
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
    rows.push_back(row);
  return rows;
}

int ListView::FocusedRow() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }

void ListView::Select(const std::vector<int>& rows) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  if (!rows.empty()) EnsureVisible(rows.front());
}

void ListView::SelectAll() { ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED); }

RECT ListView::RowBounds(int row) const {
  RECT bounds{};
  ListView_GetItemRect(list_, row, &bounds, LVIR_LABEL);
  return bounds;
}

bool ListView::Checked(int row) const { return ListView_GetCheckState(list_, row) == 1; }

void ListView::SetChecked(int row, bool checked) { ListView_SetCheckState(list_, row, checked); }

void ListView::EnsureVisible(int row) { ListView_EnsureVisible(list_, row, FALSE); }

int ListView::TopRow() const { return ListView_GetTopIndex(list_); }

int ListView::RowsPerPage() const { return ListView_GetCountPerPage(list_); }

void ListView::UseSortArrows(int size) {
  if (!arrows_) arrows_ = CreateSortArrows(size);
  Header_SetImageList(ListView_GetHeader(list_), arrows_);
}

void ListView::Sort(int column, bool ascending, const std::function<int(LPARAM, LPARAM)>& compare) {
  ListView_SortItems(list_, CompareRows, reinterpret_cast<LPARAM>(&compare));
  HWND header = ListView_GetHeader(list_);
  for (int i = 0, count = Header_GetItemCount(header); i < count; ++i) {
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

int ListView::SortArrow(int column) const {
  HDITEMA item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  Header_GetItem(ListView_GetHeader(list_), column, &item);
  return item.fmt & HDF_IMAGE ? item.iImage : -1;
}

LRESULT ListView::Notify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOA: {
      LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
      if ((item.mask & LVIF_TEXT) && rowText_ && item.iItem >= 0 && static_cast<size_t>(item.iItem) < virtualRows_)
        lstrcpynA(item.pszText, rowText_(static_cast<size_t>(item.iItem)).c_str(), item.cchTextMax);
      return 0;
    }
    case NM_CUSTOMDRAW: {
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
      if (!rowTextColour) return CDRF_DODEFAULT;
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) draw->clrText = rowTextColour(draw->nmcd.dwItemSpec);
      return CDRF_DODEFAULT;
    }
    case LVN_ITEMCHANGED: {
      const auto& change = *reinterpret_cast<NMLISTVIEW*>(header);
      if (!(change.uChanged & LVIF_STATE)) return 0;
      UINT changed = change.uOldState ^ change.uNewState;
      if ((changed & LVIS_STATEIMAGEMASK) && change.iItem >= 0 && onCheckChanged) onCheckChanged(change.iItem);
      if ((changed & LVIS_SELECTED) && onSelectionChanged) onSelectionChanged();
      return 0;
    }
    case LVN_COLUMNCLICK:
      if (onColumnClick) onColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return 0;
  }
  return 0;
}

// TabControl -------------------------------------------------------------------

void TabControl::Create(Window& parent, DWORD style, int x, int y, int width, int height) {
  tabs_ = parent.AddControl(WC_TABCONTROLA, "", style | TCS_OWNERDRAWFIXED, x, y, width, height);
  parent.OnNotify(tabs_, [this](NMHDR* header) -> LRESULT {
    if (header->code == TCN_SELCHANGING && onChanging) return onChanging();
    if (header->code == TCN_SELCHANGE && onChange) onChange();
    return 0;
  });
  parent.OnDrawItem(tabs_, [this](const DRAWITEMSTRUCT& item) { Draw(item); });
}

void TabControl::SetLook(const TabLook& look) {
  look_ = look;
  InvalidateRect(tabs_, nullptr, TRUE);
}

void TabControl::Add(const std::string& caption) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(caption.c_str());
  SendMessageA(tabs_, TCM_INSERTITEMA, captions_.size(), reinterpret_cast<LPARAM>(&item));
  captions_.push_back(caption);
}

void TabControl::Clear() {
  TabCtrl_DeleteAllItems(tabs_);
  captions_.clear();
}

int TabControl::Selected() const { return TabCtrl_GetCurSel(tabs_); }

void TabControl::Select(int index) { TabCtrl_SetCurSel(tabs_, index); }

RECT TabControl::PageArea() const {
  RECT area;
  GetWindowRect(tabs_, &area);
  MapWindowPoints(nullptr, GetParent(tabs_), reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(tabs_, FALSE, &area);
  return area;
}

void TabControl::Draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID >= captions_.size()) return;
  bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, SolidBrush(selected ? look_.selectedFill : look_.otherFill));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, selected ? look_.selectedText : look_.otherText);
  SelectedObject font(item.hDC, MessageFont());
  const std::string& caption = captions_[item.itemID];
  RECT area = item.rcItem;
  if (look_.centred)
    DrawTextA(item.hDC, caption.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  else
    TextOutA(item.hDC, area.left + 4, area.top + 2, caption.c_str(), static_cast<int>(caption.size()));
}

// StatusBar --------------------------------------------------------------------

void StatusBar::Create(Window& parent, bool simple) {
  bar_ = parent.AddControl(STATUSCLASSNAMEA, "", WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0);
  if (simple) SendMessageA(bar_, SB_SIMPLE, TRUE, 0);
}

void StatusBar::SetParts(const std::vector<int>& rightEdges) {
  SendMessageA(bar_, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
}

void StatusBar::SetText(int part, const std::string& text) {
  SendMessageA(bar_, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void StatusBar::SetBackground(COLORREF colour) { SendMessageA(bar_, SB_SETBKCOLOR, 0, static_cast<LPARAM>(colour)); }

int StatusBar::Fit() {
  SendMessageA(bar_, WM_SIZE, 0, 0);
  RECT bar;
  GetWindowRect(bar_, &bar);
  return bar.bottom - bar.top;
}

// Splitter ---------------------------------------------------------------------

void Splitter::Create(HWND parent, std::function<void(int at)> onMoved, bool horizontal) {
  onMoved_ = std::move(onMoved);
  horizontal_ = horizontal;
  CreateWindowOf("TidemarkSplitter", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 5, 10, parent);
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

// RichTextView -----------------------------------------------------------------

void RichTextView::Create(Window& parent) {
  static HMODULE richEdit = LoadLibraryA("riched20.dll");
  (void)richEdit;
  box_ = parent.AddControl(RICHEDIT_CLASSA, "",
                           WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 1,
                           1, WS_EX_CLIENTEDGE);
}

bool RichTextView::Show(platform::FileSystem& files, const std::string& path, const std::string& notice) {
  std::optional<std::string> text = files.FileExists(path) ? files.ReadFile(path) : std::nullopt;
  if (!text) {
    SetWindowTextA(box_, notice.c_str());
    return false;
  }
  std::string_view rest = *text;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rest), 0, ReadStream};
  SendMessageA(box_, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
  return true;
}

}  // namespace tidemark::gui
