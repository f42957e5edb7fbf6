// Internet Explorer stores in a test's scratch folder: index files, the files they name, cookie text files.
#pragma once
#include <string>
#include <vector>

#include "ie/index_format.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/index_builder.h"

namespace tidemark::ie {

// Two nine-line records as Internet Explorer writes a cookie text file.
inline const std::string kCookieText =
    "SID\nAbc123XyZ\nsite.test/\n1024\n2894529536\n30148398\n1405722896\n29873420\n*\n"
    "pref\nid=99;lang=en\nsite.test/\n1024\n2894529536\n30148398\n1405722896\n29873420\n*\n";

struct StoreEntry {
  std::string url;
  std::string file;    // cached file name; empty for none
  bool onDisk = true;  // the cached file exists
  uint32_t flags = 0;
  std::string content = "cached";
  std::string tag = "URL ";
};

// folder\index.dat naming the entries, and their files: in folder\SUBDIR01 with subDir, else in folder itself.
inline void WriteStore(const std::string& folder, const std::vector<StoreEntry>& entries, bool subDir,
                       uint64_t lastAccess) {
  platform::FileSystem& files = platform::RealFileSystem();
  test::IndexBuilder builder;
  if (subDir) builder.SubDir("SUBDIR01", uint32_t(entries.size()));
  std::string fileFolder = subDir ? folder + "\\SUBDIR01" : folder;
  files.CreateFolders(fileFolder);
  for (const StoreEntry& e : entries) {
    builder.Add({.tag = e.tag, .url = e.url, .file = e.file, .fileSize = uint32_t(e.content.size()), .flags = e.flags,
                 .lastAccess = lastAccess});
    if (!e.file.empty() && e.onDisk) files.WriteFile(fileFolder + "\\" + e.file, e.content);
  }
  std::vector<uint8_t> bytes = builder.Finish();
  files.WriteFile(folder + "\\index.dat", std::string(bytes.begin(), bytes.end()));
}

inline std::vector<uint8_t> IndexBytes(const std::string& folder) {
  std::string bytes = platform::RealFileSystem().ReadFile(folder + "\\index.dat").value_or("");
  return {bytes.begin(), bytes.end()};
}

// The URLs the folder's index still holds.
inline std::vector<std::string> UrlsIn(const std::string& folder) {
  std::vector<uint8_t> bytes = IndexBytes(folder);
  IndexEditor editor(bytes, UpperCase(folder));
  std::vector<std::string> urls;
  if (editor.Check() != kIndexOk) return {"<unreadable>"};
  while (editor.NextUrlRecord()) urls.push_back(editor.Record().Url);
  return urls;
}

}  // namespace tidemark::ie
