// The IE purges' report texts, and (native build only) the indexes a purge
// changed read back by Debian's msiecfinfo (libmsiecf-utils), an independent
// reader of the format.
#include "ie/ie_purges.h"

#include <gtest/gtest.h>

#include "support/memory_purge.h"

#ifndef _WIN32
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "ie/index_format.h"
#include "platform/text.h"
#include "support/index_builder.h"
#include "support/samples.h"
#endif

namespace tidemark::ie {
namespace {

constexpr uint64_t kMinute = 600'000'000;

TEST(IEPurgeTexts, AgeShowsDaysHoursAndMinutes) {
  const uint64_t now = 0x01DB000000000000;
  struct Case {
    uint64_t minutes;
    const char* age;
  } cases[] = {{0, " 00-00:00"},
               {(5 * 24 + 3) * 60 + 7, " 05-03:07"},
               {123 * 24 * 60, "123-00:00"},
               {(1234 * 24 + 23) * 60 + 59, "1234-23:59"}};
  for (const Case& c : cases) EXPECT_EQ(AgeText(now - c.minutes * kMinute, now), c.age);
  EXPECT_EQ(AgeText(now + 90 * kMinute, now), " 00-00:00") << "a last access after now";
}

TEST(IEPurgeTexts, ResultCodesByMode) {
  struct Case {
    uint32_t code;
    ResultMode mode;
    const char* text;
    int level;
    bool locked;
  } cases[] = {
      {0, ResultMode::Entry, "       deleted - ", 0, false},
      {2, ResultMode::Stray, "File not Found - ", 0, false},
      {3, ResultMode::Entry, "Path not Found - ", 0, false},
      {145, ResultMode::Folder, " Dir Not Empty - ", 0, false},
      {32, ResultMode::Entry, "    Locked URL - ", 1, true},
      {5, ResultMode::Stray, "        Locked - ", 1, true},
      {1224, ResultMode::Folder, "        Locked - ", 0, true},
      {87, ResultMode::Entry, " -Error-87       ", 0, false},
  };
  for (const Case& c : cases) {
    test::MemoryPurge p;
    EXPECT_EQ(ResultCodeText(p.Environment(), c.code, c.mode), c.text);
    EXPECT_EQ(p.r.report.ErrorLevel(), c.level) << c.code;
    EXPECT_EQ(p.state.lockedFileSeen, c.locked) << c.code;
  }
}

#ifndef _WIN32

std::optional<std::string> Shell(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

// The items msiecfinfo counts in an index of the in-memory file system; -1
// when it does not read the file as an index.
int ItemsRead(test::MemoryFileSystem& files, const std::string& index) {
  auto path = std::filesystem::temp_directory_path() / ("tidemark_purged_" + std::to_string(getpid()) + ".dat");
  std::ofstream(path, std::ios::binary) << files.ReadFile(index).value_or("");
  auto info = Shell("msiecfinfo '" + path.string() + "' 2>&1");
  std::filesystem::remove(path);
  size_t at = info ? info->find("Number of items") : std::string::npos;
  return at == std::string::npos ? -1 : std::stoi(info->substr(info->find(':', at) + 1));
}

std::string Sample(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Built(test::IndexBuilder& builder) {
  std::vector<uint8_t> bytes = builder.Finish();
  return {bytes.begin(), bytes.end()};
}

TEST(IEPurgeTexts, MsiecfinfoReadsEveryIndexThePurgesChanged) {
  if (!Shell("command -v msiecfinfo")) GTEST_SKIP() << "msiecfinfo (libmsiecf-utils) not installed";
  TIDEMARK_REQUIRE_SAMPLE(cacheSample, "ie-cache-index.dat");
  TIDEMARK_REQUIRE_SAMPLE(historySample, "ie-history-index.dat");
  test::MemoryPurge p;
  p.ie.IECacheFolder = "C:\\IE\\Content.IE5";
  p.ie.IEHistoryFolder = "C:\\IE\\History.IE5";
  p.ie.IECookiesFolder = "C:\\IE\\Cookies";
  std::string cacheIndex = p.ie.IECacheFolder + "\\index.dat", historyIndex = p.ie.IEHistoryFolder + "\\index.dat";
  std::string cookieIndex = p.ie.IECookiesFolder + "\\index.dat";
  std::string daily = p.ie.IEHistoryFolder + "\\MSHist012024010120240102\\index.dat";
  p.files.AddFile(cacheIndex, Sample(cacheSample));
  p.files.AddFile(historyIndex, Sample(historySample));
  p.files.AddFile(daily, Sample(historySample));
  // Every cached file but the first (its entry is a stray's), and one no entry names.
  std::string bytes = *p.files.ReadFile(cacheIndex);
  std::vector<uint8_t> view(bytes.begin(), bytes.end());
  IndexEditor editor(view, UpperCase(p.ie.IECacheFolder));
  ASSERT_EQ(editor.Check(), kIndexOk);
  for (bool first = true; editor.NextUrlRecord(); first = false)
    if (!first) p.files.AddFile(editor.Record().CachedFilePath, "cached");
  p.files.AddFile(p.ie.IECacheFolder + "\\ENG3X4ZR\\stray.htm", "stray");
  test::IndexBuilder cookies;
  for (const char* host : {"kept", "random", "gone"}) {
    std::string file = std::string("me@") + host + "[1].txt";
    cookies.Add({.url = std::string("Cookie:me@") + host + ".test/", .file = file});
    p.files.AddFile(p.ie.IECookiesFolder + "\\" + file, "name\nvalue\nhost/\n");
  }
  p.files.AddFile(cookieIndex, Built(cookies));
  p.files.AddFile(p.ieProtectFile, "p=cookie:me@kept.test/\nr=cookie:me@random.test/\n");

  IEStraysPurge(p.Environment());
  EXPECT_EQ(ItemsRead(p.files, cacheIndex), 20) << "the stray's entry and the redirects are gone";
  IECachePurge(p.Environment());
  IEVisitedUrlsPurge(p.Environment());
  IECookiesPurge(p.Environment());
  p.settings.ieVersionMajor = 9;
  p.settings.keepFiles = true;  // the daily index stays, so it is reset
  IEHistoryFoldersPurge(p.Environment());
  EXPECT_EQ(p.r.report.ErrorLevel(), 0);
  EXPECT_EQ(p.Lines().back(), "  \"I.E. History Folders\" Function Completed.");
  EXPECT_EQ(p.Lines()[p.Lines().size() - 2], "       Cleared Daily History - MSHist012024010120240102");
  EXPECT_EQ(ItemsRead(p.files, cacheIndex), 0);
  EXPECT_EQ(ItemsRead(p.files, historyIndex), 0);
  EXPECT_EQ(ItemsRead(p.files, cookieIndex), 2);
  EXPECT_EQ(ItemsRead(p.files, daily), 0);
}

#endif

}  // namespace
}  // namespace tidemark::ie
