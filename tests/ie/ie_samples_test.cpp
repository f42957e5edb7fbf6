// The age column, and (native build only) the real index files of the samples
// against Debian's msiecfexport and msiecfinfo (libmsiecf-utils), an
// independent reader of the format: the walk agrees, and every index the
// purges changed still reads as an index.
#include <gtest/gtest.h>

#include "ie/ie_purges.h"

#ifndef _WIN32
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ie/index_format.h"
#include "platform/text.h"
#include "support/index_builder.h"
#include "support/memory_purge.h"
#include "support/samples.h"
#endif

namespace tidemark::ie {
namespace {

TEST(IEPurgeTexts, AgeShowsDaysHoursAndMinutes) {
  const uint64_t now = 0x01DB000000000000, minute = 600'000'000;
  EXPECT_EQ(AgeText(now - ((5 * 24 + 3) * 60 + 7) * minute, now) + AgeText(now - 123 * 24 * 60 * minute, now) +
                AgeText(now - ((1234 * 24 + 23) * 60 + 59) * minute, now),
            " 05-03:07123-00:001234-23:59");
  EXPECT_EQ(AgeText(now + 90 * minute, now), " 00-00:00") << "a last access after now";
}

#ifndef _WIN32

// msiecfexport's or msiecfinfo's answer for these bytes.
std::string Tool(const std::string& tool, const std::string& bytes) {
  auto path = std::filesystem::temp_directory_path() / ("tidemark_index_" + std::to_string(getpid()) + ".dat");
  std::ofstream(path, std::ios::binary) << bytes;
  std::string out;
  FILE* pipe = popen((tool + " '" + path.string() + "' 2>&1").c_str(), "r");
  char buffer[4096];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  if (pipe) pclose(pipe);
  std::filesystem::remove(path);
  return out;
}

// The items msiecfinfo counts; -1 when it does not read the bytes as an index.
int ItemsRead(const std::string& bytes) {
  std::string info = Tool("msiecfinfo", bytes);
  size_t at = info.find("Number of items");
  return at == std::string::npos ? -1 : std::stoi(info.substr(info.find(':', at) + 1));
}

// "url|cached file path" of every URL record msiecfexport lists.
std::vector<std::string> ExportedUrls(const std::string& bytes) {
  std::vector<std::string> urls;
  std::string url, file, subDir;
  bool isUrl = false;
  auto flush = [&] {
    if (isUrl) urls.push_back(url + "|" + (file.empty() ? "" : UpperCase("C:\\CACHE\\" + subDir + file)));
    isUrl = false;
    file = subDir = "";
  };
  for (const std::string& line : Split(Tool("msiecfexport", bytes), '\n')) {
    size_t colon = line.find(':');
    std::string key = Trim(line.substr(0, colon)), value = colon == std::string::npos ? "" : line.substr(colon + 2);
    if (key == "Record type") flush(), isUrl = value == "URL";
    if (key == "Location") url = value;
    if (key == "Filename") file = value;
    if (key == "Cache directory index" && value.find(")(") != std::string::npos)
      subDir = value.substr(value.find(")(") + 2, 8) + "\\";
  }
  flush();
  std::sort(urls.begin(), urls.end());
  return urls;
}

std::string Sample(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(IndexSamples, TheWalkIsMsiecfexportsAndMsiecfinfoReadsEveryIndexThePurgesChanged) {
  if (std::system("command -v msiecfexport >/dev/null && command -v msiecfinfo >/dev/null") != 0)
    GTEST_SKIP() << "msiecfexport and msiecfinfo (libmsiecf-utils) not installed";
  TIDEMARK_REQUIRE_SAMPLE(cacheSample, "ie-cache-index.dat");
  TIDEMARK_REQUIRE_SAMPLE(historySample, "ie-history-index.dat");
  for (auto [sample, urlCount] : {std::pair(cacheSample, 21u), std::pair(historySample, 15u)}) {
    std::string text = Sample(sample);
    std::vector<uint8_t> bytes(text.begin(), text.end());
    IndexEditor editor(bytes, "C:\\CACHE");
    ASSERT_EQ(editor.Check(), kIndexOk);
    std::vector<std::string> urls;
    while (editor.NextUrlRecord()) urls.push_back(editor.Record().Url + "|" + editor.Record().CachedFilePath);
    EXPECT_EQ(urls.size(), urlCount);
    EXPECT_EQ((std::sort(urls.begin(), urls.end()), urls), ExportedUrls(text)) << sample;
  }

  test::MemoryPurge p;
  std::tie(p.ie.IECacheFolder, p.ie.IEHistoryFolder, p.ie.IECookiesFolder) =
      std::tuple("C:\\IE\\Content.IE5", "C:\\IE\\History.IE5", "C:\\IE\\Cookies");
  std::string cacheIndex = p.ie.IECacheFolder + "\\index.dat", historyIndex = p.ie.IEHistoryFolder + "\\index.dat";
  std::string cookieIndex = p.ie.IECookiesFolder + "\\index.dat";
  std::string daily = p.ie.IEHistoryFolder + "\\MSHist012024010120240102\\index.dat";
  p.files.AddFile(cacheIndex, Sample(cacheSample));
  for (const std::string& index : {historyIndex, daily}) p.files.AddFile(index, Sample(historySample));
  // Every cached file but the first (its entry is a stray's), and one no entry names.
  std::string text = *p.files.ReadFile(cacheIndex);
  std::vector<uint8_t> view(text.begin(), text.end());
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
  std::vector<uint8_t> built = cookies.Finish();
  p.files.AddFile(cookieIndex, std::string(built.begin(), built.end()));
  p.files.AddFile(p.ieProtectFile, "p=cookie:me@kept.test/\nr=cookie:me@random.test/\n");
  auto items = [&](const std::string& index) { return ItemsRead(p.files.ReadFile(index).value_or("")); };

  IEStraysPurge(p.Environment());
  EXPECT_EQ(items(cacheIndex), 20) << "the stray's entry and the redirects are gone";
  for (auto purge : {IECachePurge, IEVisitedUrlsPurge, IECookiesPurge}) purge(p.Environment());
  p.settings.ieVersionMajor = 9;
  p.settings.keepFiles = true;  // the daily index stays, so it is reset
  IEHistoryFoldersPurge(p.Environment());
  EXPECT_EQ(p.r.report.ErrorLevel(), 0);
  EXPECT_EQ(p.Lines()[p.Lines().size() - 2], "       Cleared Daily History - MSHist012024010120240102");
  EXPECT_EQ(std::tuple(items(cacheIndex), items(historyIndex), items(cookieIndex), items(daily)), std::tuple(0, 0, 2, 0));
  EXPECT_TRUE(ExportedUrls(*p.files.ReadFile(cacheIndex)).empty());
}

#endif

}  // namespace
}  // namespace tidemark::ie
