// The real index files of the samples, against Debian's msiecfexport and
// msiecfinfo (libmsiecf-utils), an independent reader of the format. Those
// are Linux programs: the tests exist in the native build only.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "ie/index_format.h"
#include "platform/text.h"
#include "support/samples.h"

namespace tidemark::ie {
namespace {

// Output of a shell command; nothing when it fails.
std::optional<std::string> Shell(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

std::string TempFile(const std::vector<uint8_t>& bytes) {
  auto path = std::filesystem::temp_directory_path() / ("tidemark_index_" + std::to_string(getpid()) + ".dat");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return path.string();
}

// "url|cached file path" of every URL record msiecfexport lists.
std::vector<std::string> ExportedUrls(const std::string& path) {
  std::vector<std::string> urls;
  std::string url, file, subDir;
  bool isUrl = false;
  auto flush = [&] {
    if (isUrl) urls.push_back(url + "|" + (file.empty() ? "" : UpperCase("C:\\CACHE\\" + subDir + file)));
    isUrl = false;
    file = subDir = "";
  };
  for (const std::string& line : Split(*Shell("msiecfexport '" + path + "'"), '\n')) {
    size_t colon = line.find(':');
    std::string key = Trim(line.substr(0, colon)), value = colon == std::string::npos ? "" : line.substr(colon + 2);
    if (key == "Record type") {
      flush();
      isUrl = value == "URL";
    } else if (key == "Location") {
      url = value;
    } else if (key == "Filename") {
      file = value;
    } else if (key == "Cache directory index" && value.find(")(") != std::string::npos) {
      subDir = value.substr(value.find(")(") + 2, 8) + "\\";
    }
  }
  flush();
  std::sort(urls.begin(), urls.end());
  return urls;
}

int ItemCount(const std::string& path) {
  std::string info = *Shell("msiecfinfo '" + path + "'");
  size_t at = info.find("Number of items");
  return at == std::string::npos ? -1 : std::stoi(info.substr(info.find(':', at) + 1));
}

class NoFiles : public CachedFileRemover {
 public:
  bool Remove(const std::string&) override { return false; }
  uint32_t LastError() const override { return 5; }
  uint32_t ClusterSize(const std::string&) override { return 0; }
};

TEST(IndexSamplesTest, WalkMatchesMsiecfexportAndDeletingLeavesAValidFile) {
  if (!Shell("command -v msiecfexport")) GTEST_SKIP() << "msiecfexport (libmsiecf-utils) not installed";
  struct Case {
    const char* sample;
    size_t urls;
    int itemsAfterDeletion;  // the redirects stay until the sweep
  } cases[] = {{"ie-cache-index.dat", 21, 14}, {"ie-history-index.dat", 15, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sample);
    TIDEMARK_REQUIRE_SAMPLE(sample, c.sample);
    std::ifstream in(sample, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    IndexEditor editor(bytes, "C:\\CACHE");
    ASSERT_EQ(editor.Check(), kIndexOk);
    std::vector<std::string> urls;
    while (editor.NextUrlRecord()) urls.push_back(editor.Record().Url + "|" + editor.Record().CachedFilePath);
    std::sort(urls.begin(), urls.end());
    EXPECT_EQ(urls.size(), c.urls);
    EXPECT_EQ(urls, ExportedUrls(sample));

    NoFiles files;
    for (editor.Restart(); editor.NextUrlRecord();) ASSERT_TRUE(editor.DeleteCurrentRecord(files, {.KeepFiles = true}));
    std::string edited = TempFile(bytes);
    EXPECT_EQ(ItemCount(edited), c.itemsAfterDeletion);
    EXPECT_TRUE(ExportedUrls(edited).empty());
    EXPECT_TRUE(editor.SweepLeaksAndRedirects(false));
    editor.RemoveOrphanRecords();
    EXPECT_FALSE(editor.Corrupt());
    EXPECT_EQ(ItemCount(TempFile(bytes)), 0);
    std::remove(edited.c_str());
  }
}

}  // namespace
}  // namespace tidemark::ie
#endif
