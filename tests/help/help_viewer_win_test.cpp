// The help file opens in the system's HTML Help viewer at every topic the
// program asks for; a missing file or viewer gives the user the reason.
#include "help/help_viewer_win.h"

#include <gtest/gtest.h>

#include "help/help_topics.h"

namespace tidemark::help {
namespace {

std::string ClassOf(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

TEST(HelpViewer, ShowsEveryTopicOfTheCompiledHelpFile) {
  HelpViewer viewer(TIDEMARK_HELP_FILE);
  for (std::string_view topic : kProgramTopics) {
    EXPECT_EQ(viewer.Show(nullptr, topic), std::nullopt) << topic;
    ASSERT_TRUE(IsWindow(viewer.window())) << topic;
    EXPECT_EQ(ClassOf(viewer.window()), "HH Parent");
    EXPECT_TRUE(IsWindowVisible(viewer.window()));
  }
}

TEST(HelpViewer, NamesWhatIsMissing) {
  const struct {
    std::string file, library, named;
  } cases[] = {
      {"C:\\no-such-folder\\Tidemark.chm", "hhctrl.ocx", "C:\\no-such-folder\\Tidemark.chm could not be found"},
      {TIDEMARK_HELP_FILE, "no-such-viewer.ocx", "HTML Help viewer (no-such-viewer.ocx) is not installed"},
  };
  for (const auto& c : cases) {
    HelpViewer viewer(c.file, c.library);
    auto problem = viewer.Show(nullptr, kTopicContents);
    ASSERT_TRUE(problem) << c.library;
    EXPECT_NE(problem->find(c.named), std::string::npos) << *problem;
    EXPECT_EQ(viewer.window(), nullptr);
  }
}

TEST(HelpViewer, ClosingTheViewerClosesItsWindows) {
  HWND window;
  {
    HelpViewer viewer(TIDEMARK_HELP_FILE);
    ASSERT_EQ(viewer.Show(nullptr, kTopicTroubleShooting), std::nullopt);
    window = viewer.window();
    ASSERT_TRUE(IsWindow(window));
  }
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace tidemark::help
