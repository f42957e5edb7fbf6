// Protect files from arbitrary bytes: loading, normalising and saving agree
// with each other, and every matcher answers within the list it was given.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "fuzz_require.h"
#include "cookies/protect_file.h"
#include "support/memory_files.h"

namespace {

using namespace tidemark::cookies;

struct Silent : UserMessages {
  void Show(const std::string&, const std::string&) override {}
};

// The entry a match names, without its kind prefix.
bool MatchIsAnEntry(const ProtectList& list, const ProtectMatch& match) {
  if (!match.found) return match.index == -1;
  return match.index >= 0 && match.index < static_cast<int>(list.entries.size()) &&
         (match.kind == 'P' || match.kind == 'R');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::string name = input.ConsumeRandomLengthString(300);
  std::string content = input.ConsumeRemainingBytesAsString();
  const std::string path = "C:\\Data\\Tidemark.Dat";

  tidemark::test::MemoryFileSystem files;
  files.AddFile(path, content);
  ProtectList list = LoadCookieProtectList(files, path);
  Require(list.OpenedOK, "a readable file opens");
  Require(list.Count == static_cast<int32_t>(list.entries.size()), "Count is the number of entries");
  for (const std::string& entry : list.entries) {
    Require(!entry.empty() && entry.find_first_of("\r\n") == std::string::npos, "an entry is one non-blank line");
    Require(entry.size() == 1 || entry[1] == '=', "a normalised entry has its kind");
  }
  ProtectList again = list;
  Require(!NormaliseProtectList(again) && again.entries == list.entries, "normalising twice changes nothing");

  // The round trip through the file is exact.
  list.Dirty = true;
  Silent silent;
  SaveCookieProtectList(list, path, files, silent);
  ProtectList reloaded = LoadCookieProtectList(files, path);
  Require(reloaded.entries == list.entries && !reloaded.Dirty, "a saved list reads back as it was");

  Require(MatchIsAnEntry(list, FindCookieProtect(list, name)), "an exact match names an entry");
  for (IEEntryMode mode : {IEEntryMode::Cookie, IEEntryMode::Cache, IEEntryMode::History})
    Require(MatchIsAnEntry(list, MatchIEProtect(list, name, mode)), "an IE match names an entry");
  ProtectAddress(name);
  MarkProtectStatus(list, name);

  TempProtectList temp;
  temp.entries = list.entries;
  char answer = MatchTempProtect(temp, "c:\\temp\\" + name, name, nullptr);
  bool fromAnEntry = answer == kTempNoMatch;
  for (const std::string& entry : temp.entries) fromAnEntry |= entry.size() > 2 && entry[0] == answer;
  Require(fromAnEntry, "a temp answer is the kind of a matching entry");
  return 0;
}
