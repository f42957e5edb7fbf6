// The strays purge over cookie, cache and UserData stores in a scratch folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "ie/ie_purges.h"
#include "ie_store_win.h"
#include "platform/shared_memory_win.h"
#include "support/purge_fixture_win.h"

namespace tidemark::ie {
namespace {

using Lines = std::vector<std::string>;

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Cookies (with their Protected Mode folder inside) and a cache.
void LayOutStores(test::PurgeFixture& f) {
  std::string cookies = f.scratch / "Cookies", cache = f.scratch / "Content.IE5";
  f.ie.IECookiesFolder = cookies;
  f.ie.LowCookiesFolder = cookies + "\\Low";
  f.ie.IECacheFolder = cache;
  // The index names the cookie in upper case, the disk has it in lower case.
  WriteStore(cookies, {{"Cookie:me@site.test/", "ME@SITE[1].TXT", false}}, false, f.now);
  f.scratch.Write("Cookies\\me@site[1].txt", kCookieText);
  f.scratch.Write("Cookies\\me@stray[1].txt", kCookieText);
  WriteStore(cookies + "\\Low", {{"Cookie:me@low.test/", "me@low[1].txt"}}, false, f.now);
  WriteStore(cache, {{"http://a.test/", "a[1].htm"}, {"http://gone.test/", "gone[1].htm", false}}, true, f.now);
  f.scratch.Write("Content.IE5\\SUBDIR01\\stray.htm", "x");
  f.scratch.Write("Content.IE5\\SUBDIR01\\nested\\deep.tmp", "x");
  f.scratch.Write("Content.IE5\\SUBDIR01\\desktop.ini", "x");
  f.scratch.Write("Content.IE5\\desktop.ini", "x");
}

TEST(Strays, UnnamedFilesAndEntriesWithoutFilesGo) {
  test::PurgeFixture f;
  LayOutStores(f);
  std::string cookies = UpperCase(f.ie.IECookiesFolder), cache = UpperCase(f.ie.IECacheFolder);
  std::vector<uint8_t> before = IndexBytes(f.ie.IECacheFolder);
  auto expected = [&](const std::string& label) {
    return Sorted({label + cookies + "\\ME@STRAY[1].TXT", label + cache + "\\SUBDIR01\\STRAY.HTM",
                   label + cache + "\\SUBDIR01\\NESTED\\DEEP.TMP", label + "http://gone.test/",
                   "  \"I.E. Strays\" Function Completed. 4 Files/URLs Processed."});
  };

  f.state.previewMode = true;
  IEStraysPurge(f.Environment());
  EXPECT_EQ(Sorted(f.Lines()), expected("     to delete - "));
  EXPECT_EQ(IndexBytes(f.ie.IECacheFolder), before);
  EXPECT_TRUE(Exists(f.scratch / "Cookies\\me@stray[1].txt"));

  f.r.sink.lines.clear();
  f.state.previewMode = false;
  IEStraysPurge(f.Environment());
  EXPECT_EQ(Sorted(f.Lines()), expected("       deleted - "));
  EXPECT_FALSE(f.r.report.ErrorSeen());
  EXPECT_FALSE(Exists(f.scratch / "Cookies\\me@stray[1].txt"));
  EXPECT_FALSE(Exists(f.scratch / "Content.IE5\\SUBDIR01\\nested\\deep.tmp"));
  for (const char* kept : {"Cookies\\me@site[1].txt", "Cookies\\Low\\me@low[1].txt", "Content.IE5\\SUBDIR01\\a[1].htm",
                           "Content.IE5\\SUBDIR01\\desktop.ini", "Content.IE5\\desktop.ini", "Content.IE5\\index.dat"})
    EXPECT_TRUE(Exists(f.scratch / kept)) << kept;
  EXPECT_EQ(UrlsIn(f.ie.IECacheFolder), Lines{"http://a.test/"});

  f.r.sink.lines.clear();
  IEStraysPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"    No Strays found to delete.", "  \"I.E. Strays\" Function Completed. "}));
}

TEST(Strays, NeitherALinkNorAnotherStoresFolderIsEntered) {
  SeesALink files;
  test::PurgeFixture f({.files = &files});
  std::string cache = f.scratch / "Content.IE5", userData = f.scratch / "UserData";
  files.link = cache + "\\SUBDIR01\\linked";
  f.ie.IECacheFolder = cache;
  f.ie.IEUserDataFolder = userData;
  f.ie.LowUserDataFolder = userData + "\\Low";
  WriteStore(cache, {{"http://a.test/", "a[1].htm"}}, true, f.now);
  f.scratch.Write("Content.IE5\\SUBDIR01\\linked\\behind.txt", "keep me");
  WriteStore(userData, {{"userdata:me@a.test/", "a[1].xml"}}, true, f.now);
  WriteStore(userData + "\\Low", {{"userdata:me@low.test/", "low[1].xml"}}, true, f.now);
  IEStraysPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{"    No Strays found to delete.", "  \"I.E. Strays\" Function Completed. "}));
  EXPECT_TRUE(Exists(files.link + "\\behind.txt"));
  EXPECT_TRUE(Exists(userData + "\\Low\\SUBDIR01\\low[1].xml"));
}

// Memory runs out on the first wait for a mutex after an index is mapped,
// that is while the first kind's entries are listed.
struct ExhaustedOnListing : platform::Win32SharedMemory {
  std::optional<platform::MappedView> MapFile(const std::string& path, const std::string& name) override {
    auto view = Win32SharedMemory::MapFile(path, name);
    armed = view.has_value();
    return view;
  }
  platform::WaitStatus WaitMutex(platform::ObjectHandle mutex) override {
    if (armed) {
      armed = false;
      throw std::bad_alloc();
    }
    return Win32SharedMemory::WaitMutex(mutex);
  }
  bool armed = false;
};

TEST(Strays, RunningOutOfMemoryStopsTheLaterKinds) {
  ExhaustedOnListing memory;
  test::PurgeFixture f({.memory = &memory});
  LayOutStores(f);
  IEStraysPurge(f.Environment());
  EXPECT_EQ(f.messages, Lines{"Tidemark  -  Message|Insufficient RAM to perform the \"Strays\" processing.\r\n"
                              "Try again after some Cache is purged.\r\nFunction Terminated."});
  EXPECT_EQ(f.Lines(), (Lines{"    No Strays found to delete.", "  \"I.E. Strays\" Function Completed. "}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 9);
  EXPECT_TRUE(f.state.lowMemory);
  EXPECT_TRUE(Exists(f.scratch / "Cookies\\me@stray[1].txt"));
  EXPECT_TRUE(Exists(f.scratch / "Content.IE5\\SUBDIR01\\stray.htm"));
  EXPECT_EQ(UrlsIn(f.ie.IECacheFolder), (Lines{"http://a.test/", "http://gone.test/"}));
}

}  // namespace
}  // namespace tidemark::ie
