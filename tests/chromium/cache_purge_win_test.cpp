// The Chromium cache purge over located scratch browsers: one running, one not, and caches behind links.
#include <gtest/gtest.h>
#include <windows.h>

#include "chromium/chromium_purges.h"
#include "locations/chromium_locations.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"

namespace tidemark::chromium {
namespace {

using Lines = std::vector<std::string>;
using test::Exists;

const std::string kCompleted = "  Purge \"Chromium Cache\" Function Completed.";

TEST(ChromiumCachePurge, EmptiesTheCachesOfEveryProfileOfABrowserNotRunningKeepingFoldersAndAllElse) {
  test::PurgeFixture f;
  f.shellFolders.AppData = f.scratch / "Roaming";
  f.shellFolders.LocalAppData = f.scratch / "Local";
  const std::string chrome = "Local\\Google\\Chrome\\User Data", edge = "Local\\Microsoft\\Edge\\User Data";
  const Lines profileCaches = {"Cache\\Cache_Data", "Code Cache", "GPUCache", "Service Worker\\CacheStorage",
                               "Service Worker\\ScriptCache"};
  const Lines browserCaches = {"GrShaderCache", "ShaderCache", "GraphiteDawnCache"};
  // In each cache folder a file and a folder holding one; beside them what is no cache, which stays.
  Lines chromeFiles, edgeFiles, cacheFolders, keptFiles;
  auto write = [&](const std::string& file) { return f.scratch.Write(file, "data"); };
  for (const auto& [userData, profiles, found] :
       {std::tuple{chrome, Lines{"Default"}, &chromeFiles}, {edge, Lines{"Default", "Profile 1"}, &edgeFiles}}) {
    Lines caches = browserCaches;
    for (const std::string& profile : profiles) {
      for (const std::string& cache : profileCaches) caches.push_back(profile + "\\" + cache);
      for (const char* file : {"\\History", "\\Cache\\notes.txt", "\\Service Worker\\Database\\000003.log"})
        keptFiles.push_back(write(userData + "\\" + profile + file));
    }
    for (const std::string& cache : caches) {
      found->push_back(write(userData + "\\" + cache + "\\data_0"));
      cacheFolders.push_back(ParentFolder(found->back()));
      found->push_back(write(userData + "\\" + cache + "\\index-dir\\the-real-index"));
    }
    keptFiles.push_back(write(userData + "\\Local State"));
  }
  f.chromium = locations::LocateChromiumBrowsers(f.files, f.shellFolders);
  ASSERT_EQ(f.chromium.size(), 2u);

  // A Preview counts every cache file and deletes none.
  f.state.previewMode = true;
  const Lines preview = f.Run(ChromiumCachePurge);
  EXPECT_EQ(preview.back(), kCompleted + "   63 Cache Data Files Processed.");
  for (const Lines* files : {&chromeFiles, &edgeFiles})
    for (const std::string& file : *files) EXPECT_TRUE(Exists(file)) << "a Preview changes nothing";

  // Chrome runs (it holds its lockfile with no sharing): its caches stay, Edge's go, securely erased.
  const std::string lockfile = write(chrome + "\\lockfile");
  HANDLE held = CreateFileA(lockfile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  f.state.previewMode = f.state.flags.detailReport = false;
  f.state.flags.secureErase = true;
  EXPECT_EQ(f.Run(ChromiumCachePurge), (Lines{" -Error- not Processed as Google Chrome browser is active.",
                                              kCompleted + "   39 Cache Data Files Processed."}));
  CloseHandle(held);
  EXPECT_EQ(f.r.report.ErrorLevel(), 7);
  for (const std::string& file : chromeFiles) EXPECT_TRUE(Exists(file)) << file;
  for (const std::string& file : edgeFiles) EXPECT_FALSE(Exists(file)) << file;
  for (const std::string& file : keptFiles) EXPECT_TRUE(Exists(file)) << file;
  for (const std::string& folder : cacheFolders) EXPECT_TRUE(f.files.FolderExists(folder)) << folder;
  EXPECT_FALSE(Exists(f.scratch / (edge + "\\Profile 1\\GPUCache\\index-dir"))) << "the folders inside go";
}

TEST(ChromiumCachePurge, NeverReachesThroughALinkAndFindsNothingWithoutBrowsers) {
  test::PurgeFixture f;
  EXPECT_EQ(f.Run(ChromiumCachePurge), (Lines{"    No Cache Data Files found to delete.", kCompleted}));
  const std::string linked = TIDEMARK_CHROMIUM_LINKS;
  if (!f.files.FolderExists(linked)) GTEST_SKIP() << "no link fixture at " << linked;
  f.shellFolders.LocalAppData = linked;
  f.chromium = locations::LocateChromiumBrowsers(f.files, f.shellFolders);
  // A folder on the way to a cache is held too: through a link it is never reached.
  const std::string serviceWorker = linked + "\\Google\\Chrome\\User Data\\Default\\Service Worker";
  EXPECT_EQ(f.Run(ChromiumCachePurge), (Lines{" -Error- Folder is a link, not Processed - " + serviceWorker,
                                              " -Error- Folder is a link, not Processed - " + serviceWorker,
                                              "    No Cache Data Files found to delete.", kCompleted}));
  EXPECT_TRUE(Exists(linked + "\\elsewhere\\CacheStorage\\precious.txt"));
}

}  // namespace
}  // namespace tidemark::chromium
