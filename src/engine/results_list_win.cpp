#include "engine/results_list_win.h"

#include "engine/labels.h"
#include "settings/font_setting_win.h"

namespace tidemark::engine {

ResultsList::~ResultsList() {
  if (font_) DeleteObject(font_);
}

void ResultsList::Create(gui::Window& parent, int x, int y, int width, int height) {
  list_.CreateVirtual(parent, WS_TABSTOP | WS_BORDER | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                      LVS_EX_FULLROWSELECT, x, y, width, height, [this](size_t row) { return lines_[row]; });
  list_.rowTextColour = [this](size_t row) {
    return row < lines_.size() && IsErrorLine(lines_[row]) ? kColourErrorLine : RGB(0, 0, 0);
  };
  list_.AddColumn("", width - 50);
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
  if (batchDepth_++ == 0 && hwnd()) SendMessageA(hwnd(), WM_SETREDRAW, FALSE, 0);
}

void ResultsList::EndBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  Refresh();
  if (hwnd()) {
    SendMessageA(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

void ResultsList::PrepareForReport() {
  SetFont(fontName_, fontSize_, fontStyle_);
  SizeColumnForFill();
  current_ = kNoLine;
}

void ResultsList::Refresh() {
  if (hwnd()) list_.SetRowCount(lines_.size());
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
  if (!hwnd()) return;
  LOGFONTA font = settings::LogFontOf({name, size, style}, gui::ScreenPixelsPerInch());
  // The labels are fixed-width: where the named face is missing, take a
  // fixed-pitch one rather than whatever the system offers first.
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  HFONT created = CreateFontIndirectA(&font);
  SendMessageA(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (font_) DeleteObject(font_);
  font_ = created;
}

void ResultsList::SizeColumnForFill() {
  if (!hwnd()) return;
  RECT area;
  GetClientRect(hwnd(), &area);
  list_.SetColumnWidth(0, area.right - area.left - 50);
}

void ResultsList::AutosizeColumn() {
  if (hwnd()) list_.SetColumnWidth(0, gui::ListView::kAutosize);
}

bool ResultsList::Overflows() const { return hwnd() && lines_.size() > static_cast<size_t>(list_.RowsPerPage()); }

void ResultsList::Select(size_t index) {
  current_ = index;
  list_.Select({static_cast<int>(index)});
  SetFocus(hwnd());
}

void ResultsList::GoToNextError() {
  size_t next = NextErrorLine(*this, current_);
  if (next != kNoLine) Select(next);
}

void ResultsList::GoToNextSummary() {
  if (!Overflows()) return;
  size_t top = static_cast<size_t>(list_.TopRow());
  size_t next = NextSummaryLine(*this, top, static_cast<size_t>(list_.RowsPerPage()));
  if (next == kNoLine) return;
  if (next == 0) {
    list_.EnsureVisible(0);
    return;
  }
  Select(next);
}

}  // namespace tidemark::engine
