#include "help/quick_start.h"

#include <algorithm>

namespace tidemark::help {

int ScaledQuickStartSize(int designed, int ppi) {
  if (ppi - 96 < 10) return designed;
  return designed * (96 + (ppi - 96) * 15 / 100) / 96;
}

unsigned QuickStartPanelColour(int colourDepth) { return colourDepth > 8 ? kQuickStartPanelColour : kSilver; }

Box FirstQuickStartPlace(const Box& workArea, const Box& mainWindow, int width, int height) {
  width = std::min(width, std::max(workArea.right / 2, 360));
  height = std::min(height, std::max(workArea.bottom / 2, 240));
  int left = std::max(0, std::min(workArea.right - width, mainWindow.right));
  int top = std::max(0, std::min(workArea.bottom - height, mainWindow.bottom));
  return {left, top, left + width, top + height};
}

std::vector<std::string> MissingQuickStartNotice(const std::string& path) {
  return {"", "...Unable to locate the text file to display.", "",
          "...The file - " + path + " must be in the Tidemark execution folder."};
}

}  // namespace tidemark::help
