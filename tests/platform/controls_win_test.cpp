// Under Wine: the typed controls as the windows drive them.
#include "platform/controls_win.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace tidemark::gui {
namespace {

class Host : public Window {
 public:
  Host() {
    InitCommonControls();
    CreateWindowOf("TidemarkControlsTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 300, nullptr);
  }
};

using Rows = std::vector<std::pair<std::string, LPARAM>>;

Rows Shown(const ListView& list) {
  Rows rows;
  for (int row = 0; row < list.RowCount(); ++row) rows.emplace_back(list.Cell(row, 0), list.ValueOf(row));
  return rows;
}

TEST(ListView, RowsKeepTheirValuesThroughSortsWhoseArrowOnlyTheSortedColumnShows) {
  Host host;
  ListView list;
  list.Create(host, LVS_SHOWSELALWAYS, LVS_EX_FULLROWSELECT, 0, 0, 300, 200);
  list.AddColumn("Address", 100);
  list.AddColumn("Status", 80);
  list.UseSortArrows(9);
  EXPECT_EQ(ImageList_GetImageCount(Header_GetImageList(ListView_GetHeader(list.hwnd()))), 2);
  const std::vector<std::vector<std::string>> items = {{"b.test", "Protect"}, {"c.test", ""}, {"a.test", "Random"}};
  for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(list.AddRow(items[i], static_cast<LPARAM>(i)), int(i));
  EXPECT_EQ(list.Cell(2, 1), "Random");
  EXPECT_FALSE(list.Checked(0));  // a list without check boxes
  auto by = [&](size_t column, int direction) {
    return [&items, column, direction](LPARAM a, LPARAM b) {
      return direction * items[size_t(a)][column].compare(items[size_t(b)][column]);
    };
  };
  list.Sort(0, true, by(0, 1));
  EXPECT_EQ(Shown(list), (Rows{{"a.test", 2}, {"b.test", 0}, {"c.test", 1}}));
  EXPECT_EQ(std::pair(list.SortArrow(0), list.SortArrow(1)), std::pair(ListView::kArrowUp, -1));
  list.Sort(1, false, by(1, -1));
  EXPECT_EQ(Shown(list), (Rows{{"a.test", 2}, {"b.test", 0}, {"c.test", 1}}));
  EXPECT_EQ(std::pair(list.SortArrow(0), list.SortArrow(1)), std::pair(-1, ListView::kArrowDown));
  EXPECT_EQ(std::pair(list.RowOf(1), list.RowOf(7)), std::pair(2, -1));
  list.SetCell(list.RowOf(1), 1, "Deleted");
  list.SetColumnTitle(1, "Tidemark");
  EXPECT_EQ(std::tuple(list.Cell(2, 1), list.ColumnTitle(1), list.ColumnWidth(1)),
            std::tuple(std::string("Deleted"), std::string("Tidemark"), 80));
  EXPECT_GT(list.RowBounds(1).top, list.RowBounds(0).top);

  int selectionChanges = 0;
  list.onSelectionChanged = [&] { ++selectionChanges; };
  list.Select({0, 2});
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 2}));
  list.Select({1});
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(selectionChanges, 5);  // two selected, two cleared, one selected
  list.SelectAll();
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 1, 2}));
}

TEST(ListView, ChecksReportTheirRowAndAVirtualListShowsTheOwnersRows) {
  Host host;
  ListView checks;
  checks.Create(host, LVS_SINGLESEL, LVS_EX_CHECKBOXES, 0, 0, 300, 100);
  checks.AddColumn("", 100);
  checks.AddRow({"A.STD"});
  checks.AddRow({"B.STD"});
  std::vector<int> toggled;
  checks.onCheckChanged = [&](int row) { toggled.push_back(row); };
  checks.SetChecked(1, true);
  checks.SetChecked(1, true);  // no change
  checks.SetChecked(0, false);
  EXPECT_EQ(toggled, std::vector<int>{1});
  EXPECT_EQ(std::pair(checks.Checked(0), checks.Checked(1)), std::pair(false, true));

  std::vector<std::string> lines = {"one", "two"};
  ListView results;
  results.CreateVirtual(host, LVS_NOCOLUMNHEADER, 0, 0, 100, 300, 100, [&](size_t row) { return lines.at(row); });
  results.AddColumn("", 200);
  results.SetRowCount(lines.size());
  lines.push_back("three");
  EXPECT_EQ(std::pair(results.RowCount(), results.Cell(1, 0)), std::pair(2, std::string("two")));
  results.SetRowCount(lines.size());
  EXPECT_EQ(std::pair(results.RowCount(), results.Cell(2, 0)), std::pair(3, std::string("three")));
}

// Both tab looks through the parent's drawing of a tab: its fill, and where its caption begins.
TEST(TabControl, DrawsATabInItsLooksFillWithTheCaptionAtTheLeftOrCentred) {
  Host host;
  TabControl tabs;
  tabs.Create(host, WS_VISIBLE, 0, 0, 300, 40);
  const std::string caption = "for FireFox Cookies";
  tabs.Add("first");
  tabs.Add(caption);
  const int width = 200, height = 20;
  WindowDC screen;
  MemoryDC dc(screen);
  GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen, width, height));
  SelectedObject drawn(dc, bitmap);
  SIZE extent{};
  {
    SelectedObject font(dc, MessageFont());
    GetTextExtentPoint32A(dc, caption.c_str(), int(caption.size()), &extent);
  }
  const COLORREF navy = RGB(0, 0, 128), face = RGB(212, 208, 200);
  const std::tuple<bool, UINT, COLORREF, int> cases[] = {
      {false, ODS_SELECTED, navy, 4}, {false, 0, face, 4}, {true, ODS_SELECTED, navy, (width - extent.cx) / 2}};
  for (auto [centred, state, fill, captionLeft] : cases) {
    tabs.SetLook({.selectedFill = navy, .otherFill = face, .otherText = RGB(0, 0, 0), .centred = centred});
    DRAWITEMSTRUCT item{ODT_TAB, 0, 1, ODA_DRAWENTIRE, state, tabs.hwnd(), dc, {0, 0, width, height}, 0};
    EXPECT_EQ(SendMessageA(host.hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    int firstInk = width;
    for (int x = 0; x < width && firstInk == width; ++x)
      for (int y = 0; y < height; ++y)
        if (GetPixel(dc, x, y) != fill) firstInk = x;
    EXPECT_EQ(GetPixel(dc, width - 1, height - 1), fill) << centred;
    EXPECT_NEAR(firstInk, captionLeft, 2) << centred << " " << state;
  }
}

}  // namespace
}  // namespace tidemark::gui
