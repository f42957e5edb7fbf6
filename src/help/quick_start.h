// The quick-start window's rules that need no window: its size on screens
// of more than 96 pixels per inch, its place at the first showing, its panel
// colour, and the notice shown when the text file is missing.
#pragma once
#include <string>
#include <vector>

namespace tidemark::help {

constexpr const char* kQuickStartFile = "Tmrkqst.rtf";
constexpr int kQuickStartWidth = 420, kQuickStartHeight = 320;  // as designed
constexpr unsigned kSilver = 0xC0C0C0;                          // 0xBBGGRR
constexpr unsigned kQuickStartPanelColour = 0xA0C0C0;

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box&) const = default;
};

// A designed size on the screen: grown by 15 % of the extra resolution once
// it exceeds 96 pixels per inch by 10 or more (integer arithmetic).
int ScaledQuickStartSize(int designed, int ppi);

// The panels' colour for a screen colour depth (bits per pixel × planes).
unsigned QuickStartPanelColour(int colourDepth);

// The first showing: at most half the work area's right and bottom (but
// limits of at least 360 × 240), in the work area's bottom right corner,
// yet not right of the main window's right edge nor below its bottom edge,
// and never at a negative coordinate.
Box FirstQuickStartPlace(const Box& workArea, const Box& mainWindow, int width, int height);

// What the text box shows when the file is missing.
std::vector<std::string> MissingQuickStartNotice(const std::string& path);

}  // namespace tidemark::help
