#include "engine/results_list_win.h"

#include "engine/labels.h"
#include "settings/font_setting_win.h"

namespace tidemark::engine {

ResultsList::~ResultsList() {
  if (font_) DeleteObject(font_);
}

void ResultsList::Create(gui::Window& parent, int x, int y, int width, int height) {
  list_ = parent.AddControl(WC_LISTVIEWA, "",
                            WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_OWNERDATA |
                                LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                            x, y, width, height);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = width - 50;
  SendMessageA(list_, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  parent.OnNotify(list_, [this](NMHDR* header) { return OnNotify(header); });
  SetFont(fontName_, fontSize_, fontStyle_);
}

void ResultsList::Append(const std::string& line) {
  lines_.push_back(line);
  Refresh();
}

void ResultsList::InsertFirst(const std::string& line) {
  lines_.insert(lines_.begin(), line);
  Refresh();
}

void ResultsList::Clear() {
  lines_.clear();
  current_ = kNoLine;
  Refresh();
}

void ResultsList::BeginBatch() {
  if (batchDepth_++ == 0 && list_) SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
}

void ResultsList::EndBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  Refresh();
  if (list_) {
    SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
}

void ResultsList::PrepareForReport() {
  SetFont(fontName_, fontSize_, fontStyle_);
  SizeColumnForFill();
  current_ = kNoLine;
}

void ResultsList::Refresh() {
  if (list_) ListView_SetItemCountEx(list_, static_cast<int>(lines_.size()), LVSICF_NOSCROLL);
}

void ResultsList::SetFontForNextReport(const std::string& name, int size, int style) {
  if (name.empty() || size == 0) return;
  fontName_ = name;
  fontSize_ = size;
  fontStyle_ = style;
}

void ResultsList::SetFont(const std::string& name, int size, int style) {
  if (name.empty() || size == 0) return;
  SetFontForNextReport(name, size, style);
  if (!list_) return;
  HDC screen = GetDC(nullptr);
  LOGFONTA font = settings::LogFontOf({name, size, style}, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  // The labels are fixed-width: where the named face is missing, take a
  // fixed-pitch one rather than whatever the system offers first.
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  HFONT created = CreateFontIndirectA(&font);
  SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (font_) DeleteObject(font_);
  font_ = created;
}

void ResultsList::SizeColumnForFill() {
  if (!list_) return;
  RECT area;
  GetClientRect(list_, &area);
  ListView_SetColumnWidth(list_, 0, area.right - area.left - 50);
}

void ResultsList::AutosizeColumn() {
  if (list_) ListView_SetColumnWidth(list_, 0, LVSCW_AUTOSIZE);
}

bool ResultsList::Overflows() const {
  return list_ && lines_.size() > static_cast<size_t>(ListView_GetCountPerPage(list_));
}

void ResultsList::Select(size_t index) {
  current_ = index;
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemState(list_, static_cast<int>(index), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, static_cast<int>(index), FALSE);
  SetFocus(list_);
}

void ResultsList::GoToNextError() {
  size_t next = NextErrorLine(*this, current_);
  if (next != kNoLine) Select(next);
}

void ResultsList::GoToNextSummary() {
  if (!Overflows()) return;
  size_t top = static_cast<size_t>(ListView_GetTopIndex(list_));
  size_t next = NextSummaryLine(*this, top, static_cast<size_t>(ListView_GetCountPerPage(list_)));
  if (next == kNoLine) return;
  if (next == 0) {
    ListView_EnsureVisible(list_, 0, FALSE);
    return;
  }
  Select(next);
}

LRESULT ResultsList::OnNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if ((info->item.mask & LVIF_TEXT) && info->item.iItem >= 0 &&
          static_cast<size_t>(info->item.iItem) < lines_.size())
        lstrcpynA(info->item.pszText, lines_[static_cast<size_t>(info->item.iItem)].c_str(), info->item.cchTextMax);
      return 0;
    }
    case NM_CUSTOMDRAW: {
      auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        size_t index = static_cast<size_t>(draw->nmcd.dwItemSpec);
        bool error = index < lines_.size() && IsErrorLine(lines_[index]);
        draw->clrText = error ? kColourErrorLine : RGB(0, 0, 0);
        return CDRF_DODEFAULT;
      }
      return CDRF_DODEFAULT;
    }
  }
  return 0;
}

}  // namespace tidemark::engine
