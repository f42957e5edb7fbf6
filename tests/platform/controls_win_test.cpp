// Under Wine: what no window test reaches of the typed controls.
#include "platform/controls_win.h"

#include <gtest/gtest.h>

#include <string>
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

// The results list is the one virtual list: no window test reads what it shows.
TEST(ListView, AVirtualListShowsTheOwnersRowsUpToTheCountItWasGiven) {
  Host host;
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

}  // namespace
}  // namespace tidemark::gui
