#include <gtest/gtest.h>

#include "support/purge_fixture_win.h"
#include "windows/windows_purges.h"

namespace tidemark::windows {
namespace {

TEST(TempFoldersPurge, AfterTheStraysRanOutOfMemoryNothingIsDeleted) {
  test::PurgeFixture f;
  std::string old = f.scratch.Write("TEMP\\old.tmp", "x");
  f.tempFolders.selected = {{"System Temp", f.scratch / "TEMP"}};
  f.state.lowMemory = true;
  TempFoldersPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (std::vector<std::string>{"    No Files/Directories found to delete.",
                                                 "  Purge \"Temp Folders\" Function Completed."}));
  EXPECT_TRUE(platform::RealFileSystem().FileExists(old));
}

}  // namespace
}  // namespace tidemark::windows
