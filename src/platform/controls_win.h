// Typed common controls: each wraps one control and is the only code that
// sends it its messages (list-view, tab, header, status bar, rich edit). A
// control's parent hands it its notifications (Window::OnNotify, OnDrawItem);
// what the owner wants to hear of arrives through the control's callbacks.
#pragma once
#include <windows.h>
// After the window headers.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/gui_win.h"

namespace tidemark::gui {

// A report-style list view: columns, rows of texts each carrying a value,
// selection, check boxes and sorting with the direction's arrow in the
// header; in virtual mode the owner supplies the rows, the list holds only
// their count.
class ListView {
 public:
  static constexpr int kAutosize = LVSCW_AUTOSIZE;
  static constexpr int kArrowUp = 0, kArrowDown = 1;  // SortArrow

  ListView() = default;
  // An existing list view, for reading and driving it.
  explicit ListView(HWND list) : list_(list) {}
  ListView(const ListView&) = delete;
  ListView& operator=(const ListView&) = delete;
  ~ListView();

  // style: the LVS_ styles besides LVS_REPORT; extendedStyle: LVS_EX_ ones.
  void Create(Window& parent, DWORD style, DWORD extendedStyle, int x, int y, int width, int height);
  // Virtual mode: the text of a row comes from rowText, asked only for rows below the count.
  void CreateVirtual(Window& parent, DWORD style, DWORD extendedStyle, int x, int y, int width, int height,
                     std::function<std::string(size_t row)> rowText);
  HWND hwnd() const { return list_; }

  void AddColumn(const std::string& title, int width);
  void SetColumnWidth(int column, int width);  // kAutosize: as wide as the texts
  int ColumnWidth(int column) const;
  std::string ColumnTitle(int column) const;
  void SetColumnTitle(int column, const std::string& title);

  // Appends a row (a sorted list puts it in its place); answers where it went.
  int AddRow(const std::vector<std::string>& texts, LPARAM value = 0);
  std::string Cell(int row, int column) const;
  void SetCell(int row, int column, const std::string& text);
  LPARAM ValueOf(int row) const;
  int RowOf(LPARAM value) const;  // -1: no row carries it
  int RowCount() const;
  void Clear();
  // Virtual mode: the rows there are now; the view keeps its scroll position.
  void SetRowCount(size_t count);

  std::vector<int> SelectedRows() const;  // in list order
  int FocusedRow() const;                 // -1: none
  // Selects (and focuses) these rows alone and scrolls the first into view.
  void Select(const std::vector<int>& rows);
  void SelectAll();
  // Where a row's text shows, in the list's client coordinates.
  RECT RowBounds(int row) const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  void EnsureVisible(int row);
  int TopRow() const;
  int RowsPerPage() const;

  // Gives the header its two sort arrows, size pixels square, drawn here
  // (every comctl32 from Windows XP on shows a header's own images).
  void UseSortArrows(int size);
  // Orders the rows by their values as compare says (below 0: a before b)
  // and shows the arrow of the direction in the column's header alone.
  void Sort(int column, bool ascending, const std::function<int(LPARAM, LPARAM)>& compare);
  // The arrow a column's header shows (kArrowUp, kArrowDown), -1 for none.
  int SortArrow(int column) const;

  std::function<void()> onSelectionChanged;
  std::function<void(int row)> onCheckChanged;
  std::function<void(int column)> onColumnClick;
  // The colour of a row's text (custom drawn); none: the system's.
  std::function<COLORREF(size_t row)> rowTextColour;

 private:
  void CreateList(Window& parent, DWORD style, DWORD extendedStyle, int x, int y, int width, int height);
  LRESULT Notify(NMHDR* header);

  HWND list_ = nullptr;
  std::function<std::string(size_t)> rowText_;
  size_t virtualRows_ = 0;
  HIMAGELIST arrows_ = nullptr;
};

// The fills and caption colours of owner-drawn tabs; a caption sits at the
// tab's left or in its centre.
struct TabLook {
  COLORREF selectedFill = 0, otherFill = 0, selectedText = RGB(255, 255, 255), otherText = RGB(0, 0, 0);
  bool centred = false;
};

// An owner-drawn tab control: each tab in its look's colours, its caption in
// the message font.
class TabControl {
 public:
  void Create(Window& parent, DWORD style, int x, int y, int width, int height);
  HWND hwnd() const { return tabs_; }
  void SetLook(const TabLook& look);
  void Add(const std::string& caption);
  void Clear();
  int Selected() const;
  int Count() const { return static_cast<int>(captions_.size()); }
  void Select(int index);
  // The body below the tabs, in the parent's client coordinates.
  RECT PageArea() const;

  std::function<void()> onChange;
  // Answers true to keep the current tab.
  std::function<bool()> onChanging;

 private:
  void Draw(const DRAWITEMSTRUCT& item) const;

  HWND tabs_ = nullptr;
  TabLook look_;
  std::vector<std::string> captions_;
};

// A status bar with a size grip along the bottom of its parent.
class StatusBar {
 public:
  static constexpr int kSimplePart = SB_SIMPLEID;

  // simple: one part (kSimplePart) across the whole bar.
  void Create(Window& parent, bool simple = false);
  HWND hwnd() const { return bar_; }
  // The right edges of the parts; -1 for the last: to the end.
  void SetParts(const std::vector<int>& rightEdges);
  void SetText(int part, const std::string& text);
  void SetBackground(COLORREF colour);  // CLR_DEFAULT: the system's
  // Fits the bar to its parent's size; answers its height.
  int Fit();

 private:
  HWND bar_ = nullptr;
};

// A bar between two panes that the mouse drags: between side-by-side panes
// (reports x), or above a lower pane (horizontal, reports y), in the
// parent's client coordinates.
class Splitter : public Window {
 public:
  void Create(HWND parent, std::function<void(int at)> onMoved, bool horizontal = false);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::function<void(int)> onMoved_;
  bool horizontal_ = false;
};

// A read-only, scrolling rich-text box.
class RichTextView {
 public:
  void Create(Window& parent);
  HWND hwnd() const { return box_; }
  // The file's rich text, or the notice when the file cannot be read; false then.
  bool Show(platform::FileSystem& files, const std::string& path, const std::string& notice);
  // The text shown, without its formatting.
  std::string Text() const { return WindowText(box_); }

 private:
  HWND box_ = nullptr;
};

}  // namespace tidemark::gui
