// The index-entry purges (cache, cookies, visited URLs, DOM store) over
// stores laid out in a scratch folder, normal and Protected Mode.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "cookies/text_lines.h"
#include "ie/ie_purges.h"
#include "ie_store_win.h"
#include "platform/files_win.h"
#include "support/purge_fixture_win.h"

namespace tidemark::ie {
namespace {

using Lines = std::vector<std::string>;
using engine::PurgeEnvironment;

constexpr const char* kHeader = "       Result  Type dd-hh:mm (age)   Cache Entry";

// A result line: label, Type column, age, URL.
std::string Entry(const std::string& label, const std::string& type, const std::string& url) {
  return label + type + kAge + "  " + url;
}

class IndexPurges : public ::testing::Test {
 protected:
  IndexPurges() {
    f.ie.IECacheFolder = cache;
    f.ie.IECookiesFolder = cookies;
    f.ie.IEHistoryFolder = history;
  }
  void Protect(const std::string& entries) { f.scratch.Write("IEcookie.dat", entries); }
  std::string Cookie(const std::string& file) {
    return platform::RealFileSystem().ReadFile(cookies + "\\" + file).value_or("");
  }

  test::PurgeFixture f;
  std::string cache = f.scratch / "Content.IE5", lowCache = f.scratch / "Low\\Content.IE5";
  std::string cookies = f.scratch / "Cookies", lowCookies = cookies + "\\Low";
  std::string history = f.scratch / "History.IE5";
  uint64_t used = f.now - kAgeMinutes * kFileTimeMinute;
};

TEST_F(IndexPurges, CacheEntriesGoWithTheirFilesAndProtectedOnesStaySilently) {
  WriteStore(cache,
             {{"http://a.test/page", "page[1].htm"},
              {"http://sticky.test/", "s[1].css", true, 4},
              {"http://keep.test/x", "x[1].js"},
              {"http://random.test/", "r[1].js"}},
             true, used);
  WriteStore(lowCache, {{"http://low.test/", "low[1].htm"}}, true, used);
  f.ie.LowCacheFolder = lowCache;
  Protect("a=*keep.test\nr=*random\n");  // a Random entry never keeps a cache entry
  IECachePurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{kHeader, Entry("       deleted - ", "N ", "http://a.test/page"),
                              Entry("       deleted - ", "S ", "http://sticky.test/"),
                              Entry("       deleted - ", "N ", "http://random.test/"),
                              Entry("       deleted - ", "Np", "http://low.test/"),
                              "  \"I.E. Cache\" Function Completed.  4 Entries Processed."}));
  EXPECT_EQ(UrlsIn(cache), Lines{"http://keep.test/x"});
  EXPECT_TRUE(UrlsIn(lowCache).empty());
  EXPECT_FALSE(Exists(cache + "\\SUBDIR01\\page[1].htm"));
  EXPECT_TRUE(Exists(cache + "\\SUBDIR01\\x[1].js"));
  EXPECT_FALSE(f.r.report.ErrorSeen());
}

TEST_F(IndexPurges, AFileThatCannotGoKeepsItsEntryAndIsReportedEvenInSummaries) {
  struct Case {
    void (*purge)(PurgeEnvironment&);
    std::string folder;
    Lines lines;
  } cases[] = {
      {IECachePurge,
       cache,
       {Entry("    Locked URL - ", "N ", "http://held.test/"),
        "  \"I.E. Cache\" Function Completed.  2 Entries Processed."}},
      {IEDomStorePurge,
       f.scratch / "DomStore",
       {"DOMstore:", Entry("    Locked URL - ", "M ", "http://held.test/"),
        "  Purge \"DOMstore\" Function Completed.  2 Entries Processed."}},
  };
  f.ie.DomStoreFolder = cases[1].folder;
  f.ie.DomStoreFound = true;
  f.state.flags.detailReport = false;
  for (const Case& c : cases) {
    f.r.sink.lines.clear();
    WriteStore(c.folder, {{"http://held.test/", "held.htm"}, {"http://free.test/", "free.htm"}}, true, used);
    HANDLE held =
        CreateFileA((c.folder + "\\SUBDIR01\\held.htm").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    c.purge(f.Environment());
    CloseHandle(held);
    EXPECT_EQ(f.Lines(), c.lines);
    EXPECT_EQ(UrlsIn(c.folder), Lines{"http://held.test/"});
    EXPECT_EQ(f.r.report.ErrorLevel(), 1);
    EXPECT_TRUE(f.state.lockedFileSeen);
  }
}

TEST_F(IndexPurges, VisitedUrlsHonourAddressEntriesAndAFailedEntryIsAnError) {
  test::IndexBuilder builder;
  builder.Add({.url = "Visited: me@http://site.test/a", .lastAccess = used});
  builder.Add({.url = "Visited: me@http://other.test/", .lastAccess = used});
  builder.Add({.url = "Visited: me@http://held.test/", .file = "held.htm", .lastAccess = used});
  builder.Add({.tag = "REDR", .url = "http://redirect.test/"});
  std::vector<uint8_t> bytes = builder.Finish();
  f.scratch.Write("History.IE5\\index.dat", std::string(bytes.begin(), bytes.end()));
  std::string heldFile = f.scratch.Write("History.IE5\\held.htm", "x");
  HANDLE held = CreateFileA(heldFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Protect("a=*site.test\nr=*other\n");
  // A Preview lists and changes nothing, not even by the sweeps.
  f.state.previewMode = true;
  IEVisitedUrlsPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{kHeader, Entry("     to delete - ", "V ", "Visited: me@http://other.test/"),
                              Entry("     to delete - ", "V ", "Visited: me@http://held.test/"),
                              "  \"I.E. Visited URLs\" Function Completed.  2 Entries Processed."}));
  EXPECT_EQ(IndexBytes(history), bytes);

  f.r.sink.lines.clear();
  f.state.previewMode = false;
  IEVisitedUrlsPurge(f.Environment());
  CloseHandle(held);
  EXPECT_EQ(f.Lines(), (Lines{kHeader, Entry("       deleted - ", "V ", "Visited: me@http://other.test/"),
                              Entry("  Error in URL - ", "V ", "Visited: me@http://held.test/"),
                              "  \"I.E. Visited URLs\" Function Completed.  2 Entries Processed."}));
  EXPECT_EQ(f.r.report.ErrorLevel(), 7);
  EXPECT_EQ(UrlsIn(history), (Lines{"Visited: me@http://site.test/a", "Visited: me@http://held.test/"}));
  std::vector<uint8_t> after = IndexBytes(history);
  EXPECT_EQ(std::search(after.begin(), after.end(), std::begin("REDR"), std::end("REDR") - 1), after.end())
      << "the sweep takes the redirect record";
}

TEST_F(IndexPurges, CookiesAreProtectedRandomizedOrDeleted) {
  WriteStore(cookies,
             {{"Cookie:me@kept.test/", "me@kept[1].txt", true, 0, kCookieText},
              {"Cookie:me@random.test/", "me@random[1].txt", true, 0, kCookieText},
              {"Cookie:me@shuffle.test/path", "me@shuffle[1].txt", true, 0, kCookieText},
              {"Cookie:me@gone.test/", "me@gone[1].txt", true, 0, kCookieText}},
             false, used);
  WriteStore(lowCookies, {{"Cookie:me@low.test/", "me@low[1].txt", true, 0, kCookieText}}, false, used);
  f.ie.LowCookiesFolder = lowCookies;
  Protect("p=cookie:me@kept.test/\nr=cookie:me@random.test/\nr=*shuffle\n");
  IECookiesPurge(f.Environment());
  EXPECT_EQ(f.Lines(), (Lines{kHeader, Entry("    Randomized - ", "C ", "Cookie:me@random.test/"),
                              Entry("    Randomized - ", "C ", "Cookie:me@shuffle.test/path"),
                              Entry("       deleted - ", "C ", "Cookie:me@gone.test/"),
                              Entry("       deleted - ", "Cp", "Cookie:me@low.test/"), "    2 Cookies Randomized.",
                              "  Purge \"Cookies\" Function Completed.  4 Entries Processed."}));
  EXPECT_EQ(f.noProtectionWarnings, 0);
  EXPECT_EQ(Cookie("me@kept[1].txt"), kCookieText);
  EXPECT_FALSE(Exists(cookies + "\\me@gone[1].txt"));
  EXPECT_FALSE(Exists(cookies + "\\me@random[1].txt.new"));
  // Only the value lines (the second of each record) change, keeping their shape.
  Lines before = cookies::SplitLines(kCookieText), after = cookies::SplitLines(Cookie("me@random[1].txt"));
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    if (i == 1 || i == 10)
      EXPECT_EQ(after[i].size(), before[i].size());
    else
      EXPECT_EQ(after[i], before[i]) << i;
  }
  EXPECT_NE(after[1] + after[10], before[1] + before[10]);
  EXPECT_EQ(UrlsIn(cookies), (Lines{"Cookie:me@kept.test/", "Cookie:me@random.test/", "Cookie:me@shuffle.test/path"}));

  f.r.sink.lines.clear();
  f.state.previewMode = true;
  f.state.flags.detailReport = false;
  Protect("p=cookie:me@kept.test/\nr=cookie:me@random.test/\n");
  IECookiesPurge(f.Environment());
  EXPECT_EQ(f.Lines(),
            (Lines{"    1 Cookie to Randomize.", "  Purge \"Cookies\" Function Completed.  2 Entries Processed."}));
}

TEST_F(IndexPurges, WithNothingProtectedTheWarningIsAskedAtMostOnceForBothPasses) {
  struct Case {
    std::string showOption;
    bool answer, preview;
    int warnings;
    bool deleted;
  } cases[] = {{"N", true, false, 1, true},
               {"N", false, false, 1, false},
               {"Y", false, false, 0, true},
               {"N", false, true, 0, false}};
  f.ie.LowCookiesFolder = lowCookies;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.showOption + (c.answer ? " continue" : " bypass") + (c.preview ? " preview" : ""));
    WriteStore(cookies, {{"Cookie:me@a.test/", "me@a[1].txt"}}, false, used);
    WriteStore(lowCookies, {{"Cookie:me@low.test/", "me@low[1].txt"}}, false, used);
    f.r.sink.lines.clear();
    f.noProtectionWarnings = 0;
    f.ieCookieMsgOpt = c.showOption;
    f.continueWithoutProtection = c.answer;
    f.state.previewMode = c.preview;
    IECookiesPurge(f.Environment());
    EXPECT_EQ(f.noProtectionWarnings, c.warnings);
    EXPECT_EQ(UrlsIn(cookies).empty() && UrlsIn(lowCookies).empty(), c.deleted);
    EXPECT_EQ(std::count(f.Lines().begin(), f.Lines().end(), "  Purge \"Cookies\" Function Bypassed."),
              c.warnings && !c.deleted ? 1 : 0);
  }
}

TEST_F(IndexPurges, AnUnreadableProtectFileBypassesBothCookiePasses) {
  struct Unreadable : platform::Win32FileSystem {
    std::optional<std::string> ReadFile(const std::string& path) override {
      if (EndsWithNoCase(path, "IEcookie.dat")) {
        Fail(ERROR_ACCESS_DENIED);
        return std::nullopt;
      }
      return Win32FileSystem::ReadFile(path);
    }
  } unreadable;
  test::PurgeFixture g({.files = &unreadable});
  g.ie.IECookiesFolder = g.scratch / "Cookies";
  g.ie.LowCookiesFolder = g.scratch / "Cookies\\Low";
  g.scratch.Write("IEcookie.dat", "p=cookie:me@a.test/\n");
  WriteStore(g.ie.IECookiesFolder, {{"Cookie:me@b.test/", "me@b[1].txt"}}, false, used);
  WriteStore(g.ie.LowCookiesFolder, {{"Cookie:me@c.test/", "me@c[1].txt"}}, false, used);
  IECookiesPurge(g.Environment());
  EXPECT_EQ(g.Lines(), (Lines{"*** Error - Bypassed Cookie procesing as existing Protect file could not be opened",
                              "*** Error - Bypassed P-M Cookie procesing as existing Protect file could not be opened",
                              "    No Entries found to delete.", "  Purge \"Cookies\" Function Completed."}));
  EXPECT_EQ(g.r.report.ErrorLevel(), 7);
  EXPECT_EQ(UrlsIn(g.ie.IECookiesFolder), Lines{"Cookie:me@b.test/"});
}

TEST_F(IndexPurges, ARandomCookieWhoseRewriteFailsKeepsItsFileAndIsReported) {
  struct TornWrites : platform::Win32FileSystem {
    bool WriteFile(const std::string& path, const std::string& content) override {
      if (path.find('@') == std::string::npos) return Win32FileSystem::WriteFile(path, content);
      Win32FileSystem::WriteFile(path, content.substr(0, content.size() / 2));
      return Fail(ERROR_DISK_FULL);
    }
  } torn;
  test::PurgeFixture g({.files = &torn});
  g.ie.IECookiesFolder = g.scratch / "Cookies";
  g.scratch.Write("IEcookie.dat", "r=cookie:me@random.test/\n");
  WriteStore(g.ie.IECookiesFolder, {{"Cookie:me@random.test/", "me@random[1].txt", true, 0, kCookieText}}, false, used);
  IECookiesPurge(g.Environment());
  EXPECT_EQ(g.Lines(), (Lines{kHeader, Entry(" -Error-112      ", "C ", "Cookie:me@random.test/"),
                              "  Purge \"Cookies\" Function Completed.  1 Entries Processed."}));
  EXPECT_TRUE(g.r.report.ErrorSeen());
  EXPECT_EQ(platform::RealFileSystem().ReadFile(g.ie.IECookiesFolder + "\\me@random[1].txt"), kCookieText);
  EXPECT_FALSE(Exists(g.ie.IECookiesFolder + "\\me@random[1].txt.new"));
}

TEST_F(IndexPurges, ADamagedIndexIsReportedWithItsKind) {
  struct Case {
    size_t offset;
    char byte;
    std::string line;
  } cases[] = {
      {1, 'X', "*** Error - Pro-Mode Cache Index.dat is corrupted - Protected Mode Cache"},
      {0x1A, '3', "*** Error - version of Pro-Mode Cache Index.dat not supported - Protected Mode Cache"},
  };
  f.ie.LowCacheFolder = lowCache;
  for (const Case& c : cases) {
    f.r.sink.lines.clear();
    WriteStore(lowCache, {{"http://a.test/", "a.htm"}}, true, used);
    std::vector<uint8_t> bytes = IndexBytes(lowCache);
    bytes[c.offset] = uint8_t(c.byte);
    f.scratch.Write("Low\\Content.IE5\\index.dat", std::string(bytes.begin(), bytes.end()));
    IECachePurge(f.Environment());
    EXPECT_EQ(f.Lines(), (Lines{c.line, "    No Entries found to delete.", "  \"I.E. Cache\" Function Completed."}));
    EXPECT_EQ(f.r.report.ErrorLevel(), 7);
  }
}

}  // namespace
}  // namespace tidemark::ie
