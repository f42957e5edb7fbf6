// The help file opens in the system's HTML Help viewer at every topic the
// program asks for; a missing file or viewer gives the user the reason.
#include "help/help_viewer_win.h"

#include <gtest/gtest.h>

#include "help/help_topics.h"

namespace tidemark::help {
namespace {

TEST(HelpViewer, ShowsEveryTopicAndItsWindowsCloseWithIt) {
  HWND window = nullptr;
  {
    HelpViewer viewer(TIDEMARK_HELP_FILE);
    for (std::string_view topic : kProgramTopics) {
      EXPECT_EQ(viewer.Show(nullptr, topic), std::nullopt) << topic;
      window = viewer.window();
      char name[64] = "";
      GetClassNameA(window, name, sizeof name);
      EXPECT_EQ(std::string(name), "HH Parent") << topic;
      EXPECT_TRUE(IsWindowVisible(window)) << topic;
    }
  }
  EXPECT_FALSE(IsWindow(window));
}

TEST(HelpViewer, NamesWhatIsMissing) {
  const std::array<std::string, 3> cases[] = {
      {"C:\\no-such-folder\\Tidemark.chm", "hhctrl.ocx", "C:\\no-such-folder\\Tidemark.chm could not be found"},
      {TIDEMARK_HELP_FILE, "no-such-viewer.ocx", "HTML Help viewer (no-such-viewer.ocx) is not installed"},
  };
  for (const auto& [file, library, named] : cases) {
    HelpViewer viewer(file, library);
    auto problem = viewer.Show(nullptr, kTopicContents);
    ASSERT_TRUE(problem) << library;
    EXPECT_NE(problem->find(named), std::string::npos) << *problem;
    EXPECT_EQ(viewer.window(), nullptr);
  }
}

}  // namespace
}  // namespace tidemark::help
