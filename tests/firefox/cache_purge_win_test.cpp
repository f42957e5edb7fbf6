#include <gtest/gtest.h>

#include "firefox/firefox_purges.h"
#include "profile_fixture_win.h"

namespace tidemark::firefox {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kCompleted = "  Purge \"FireFox Cache\" Function Completed.";

class CachePurge : public test::FirefoxProfileTest {
 protected:
  std::string Cache() const { return profile + "\\Cache"; }
  std::string LocalCache() const { return localProfile + "\\Cache"; }
  std::string FastLoad() const { return localProfile + "\\XUL.MFL"; }
};

TEST_F(CachePurge, EmptiesBothCachesAndTheFastLoadFile) {
  f.scratch.Write("Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default\\Cache\\_CACHE_MAP_", "map");
  f.scratch.Write("Local\\Mozilla\\Firefox\\Profiles\\t3st.default\\Cache\\0\\A1\\5F2E1d01", "entry");
  f.scratch.Write("Local\\Mozilla\\Firefox\\Profiles\\t3st.default\\XUL.MFL", "fastload");
  Locate();

  // Preview: the same count, nothing gone, XUL.MFL listed in Summary reports too.
  f.state.previewMode = true;
  f.state.flags.detailReport = false;
  EXPECT_EQ(Run(FirefoxCachePurge),
            (Lines{"     to delete - " + FastLoad(), std::string(kCompleted) + "   5 Cache Data Files Processed."}));
  EXPECT_TRUE(f.files.FileExists(FastLoad()));

  f.state.previewMode = false;
  f.state.flags.detailReport = true;
  const Lines& lines = Run(FirefoxCachePurge);
  EXPECT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines.back(), std::string(kCompleted) + "   5 Cache Data Files Processed.");
  EXPECT_FALSE(f.files.FileExists(FastLoad()));
  for (const std::string& folder : {Cache(), LocalCache()}) {
    EXPECT_TRUE(f.files.FolderExists(folder)) << "the cache folder itself stays";
    int left = 0;
    f.files.ListFolder(folder, [&](const platform::DirEntry&) {
      ++left;
      return true;
    });
    EXPECT_EQ(left, 0) << folder;
  }
}

TEST_F(CachePurge, ClosingLineCountsFiles) {
  f.files.CreateFolders(Cache());
  f.files.CreateFolders(LocalCache());
  Locate();
  EXPECT_EQ(Run(FirefoxCachePurge), (Lines{"    No Cache Data Files found to delete.", kCompleted}));

  // An older profile: only its own cache folder, the local branch is skipped.
  f.files.RemoveFolder(LocalCache());
  f.scratch.Write("Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default\\Cache\\one", "1");
  f.scratch.Write("Local\\Mozilla\\Firefox\\Profiles\\t3st.default\\XUL.MFL", "not looked at");
  Locate();
  f.state.flags.detailReport = false;
  EXPECT_EQ(Run(FirefoxCachePurge), (Lines{std::string(kCompleted) + "   1 Cache Data File Processed."}));
  EXPECT_TRUE(f.files.FileExists(FastLoad()));
}

}  // namespace
}  // namespace tidemark::firefox
