// The index format as a pure function of bytes and the texts around it; in the native build also the real index
// files of the samples against Debian's msiecfexport and msiecfinfo (libmsiecf-utils), an independent reader of the
// format: the walk agrees, and the indexes the purges changed still read as indexes.
#include "ie/index_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ie/ie_permissions.h"
#include "ie/ie_purges.h"
#include "ie/index_file.h"
#include "support/index_builder.h"

#ifndef _WIN32
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "platform/text.h"
#include "support/memory_purge.h"
#include "support/samples.h"
#endif

namespace tidemark::ie {
namespace {

using namespace test;
using Bytes = std::vector<uint8_t>;

struct FakeRemover : CachedFileRemover {
  bool Remove(const std::string& path) override { return removed.push_back(path), true; }
  uint32_t LastError() const override { return 0; }
  uint32_t ClusterSize(const std::string&) override { return 4096; }
  std::vector<std::string> removed;
};

// An index with two sub-directories; tests add records, then Open() it.
class IndexFormatTest : public ::testing::Test {
 protected:
  IndexFormatTest() {
    builder.SubDir("SUBDIR01", 5);
    builder.SubDir("SUBDIR02", 0);
  }
  // The view is exactly the file's bytes, so the sanitizer sees any read past it.
  IndexEditor& Open() {
    if (bytes.empty()) bytes = builder.Finish();
    bytes.shrink_to_fit();
    editor.emplace(bytes, "C:\\CACHE");
    EXPECT_EQ(editor->Check(), kIndexOk);
    return *editor;
  }
  std::vector<std::string> Urls() {
    std::vector<std::string> urls;
    for (editor->Restart(); editor->NextUrlRecord();) urls.push_back(editor->Record().Url);
    return urls;
  }
  bool Free(uint32_t at) { return Get32(bytes, at) == 0x0BADF00D && Get32(bytes, at + 124) == 0x0BADF00D; }

  IndexBuilder builder;
  Bytes bytes;
  std::optional<IndexEditor> editor;
  FakeRemover remover;
};

TEST_F(IndexFormatTest, WalkSkipsUnusedEntriesOffsetsOutsideTheRecordsAndEndsAtABadTable) {
  uint32_t a = builder.Add({.url = "http://a/", .file = "page[1].htm", .subDir = 1, .lastAccess = 0x0102030405060708});
  builder.Add({.tag = "REDR", .url = "http://redirect/"});
  builder.Entry(0x101, a);
  builder.Entry(0x203, a);
  builder.Entry(0x80, 0x5F80);     // inside the first table
  builder.Entry(0x80, 0x1000000);  // past the view
  uint32_t outside = builder.Add({.url = "http://b/", .file = "b.gif", .subDir = 7});
  for (int i = 0; i < 500; ++i) builder.Add({.url = "http://" + std::to_string(i) + "/"});
  Open();
  EXPECT_EQ(Urls().size(), 502u);
  editor->Restart();
  ASSERT_TRUE(editor->NextUrlRecord());
  const UrlRecordInfo& r = editor->Record();
  EXPECT_EQ(std::tuple(r.Url, r.CachedFilePath, r.LastAccess),
            std::tuple("http://a/", "C:\\CACHE\\SUBDIR02\\PAGE[1].HTM", 0x0102030405060708u));
  ASSERT_TRUE(editor->NextUrlRecord());
  EXPECT_EQ(r.CachedFilePath, "C:\\CACHE\\B.GIF") << "a sub-directory index past the table";
  Put32(bytes, outside + 0x34, 0x80u);  // past the record's block
  EXPECT_EQ(Urls()[1], "URL - blank..");
  Put32(bytes, 0x5008, 0x5000);  // a chain in a circle
  EXPECT_EQ(IndexEditor(bytes, "C:\\CACHE").Check(), kIndexCorrupted);
}

TEST_F(IndexFormatTest, DeleteChangesOnlyCountsBlocksAndEntryWithinTheirFloors) {
  // Allocated blocks, sub-directory, cache size, options; then allocated blocks, the directory's files, cache size.
  const std::tuple<uint32_t, uint32_t, int64_t, IndexOptions, uint32_t, uint32_t, int64_t> cases[] = {
      {40, 0, 1000, {.IE7 = true}, 38, 4, 700},         // two blocks, one file, 300 bytes
      {40, 0, 9000, {.KeepFiles = true}, 38, 4, 4904},  // a 4096-byte cluster; the file stays
      {33, 1, 100, {.IE7 = true}, 32, 0, 0},            // the floors
  };
  for (const auto& [allocated, subDir, cacheSize, options, allocatedAfter, filesAfter, cacheSizeAfter] : cases) {
    IndexBuilder b = builder;
    uint32_t at = b.Add({.url = std::string(60, 'u'), .file = "f.htm", .subDir = uint8_t(subDir), .fileSize = 300});
    bytes = b.Finish();
    Put32(bytes, 0x28, allocated);
    std::memcpy(&bytes[0x38], &cacheSize, 8);
    Bytes before = bytes;
    remover.removed.clear();
    Open();
    ASSERT_TRUE(editor->NextUrlRecord() && editor->DeleteCurrentRecord(remover, options));
    EXPECT_EQ(std::tuple(Get32(bytes, 0x28), int64_t(Get64(bytes, 0x38)), Get32(bytes, 0x4C + 12 * subDir),
                         remover.removed.size()),
              std::tuple(allocatedAfter, cacheSizeAfter, filesAfter, options.KeepFiles ? 0u : 1u));
    EXPECT_TRUE(Free(at) && Free(at + 128));
    EXPECT_EQ(Get64(bytes, 0x5010), 1u);  // the freed entry: hash 1, record 0
    for (size_t i = 0; i < bytes.size(); ++i) {
      bool allowed = (i >= 0x28 && i < 0x2C) || (i >= 0x38 && i < 0x40) || (i >= 0x4C && i < 0x64) ||
                     i == 0x250 + (at - 0x4000) / 1024 || (i >= at && i < at + 256) || (i >= 0x5010 && i < 0x5018);
      EXPECT_TRUE(bytes[i] == before[i] || allowed) << "byte " << i << " changed";
    }
  }
}

TEST_F(IndexFormatTest, SweepsLeaksRedirectsAndOrphans) {
  for (bool allLeaks : {false, true}) {
    IndexBuilder b;
    uint32_t url = b.Add({.url = "http://kept/"});
    uint32_t redirect = b.Add({.tag = "REDR", .url = "http://r/"});
    uint32_t other = b.Add({.tag = "ABCD", .url = "http://other/"});
    uint32_t freed = b.Add({.url = "http://gone/"});
    uint32_t leak2 = b.Add({.tag = "LEAK", .url = "http://2/", .hashed = false});
    uint32_t leak1 = b.Add({.tag = "LEAK", .url = "http://1/", .hashed = false});
    uint32_t orphan = b.Add({.url = "http://orphan/", .hashed = false});
    uint32_t chained = b.Add({.tag = "LEAK", .url = "http://leak/", .hashed = false});
    uint32_t stray = b.Add({.tag = "LEAK", .url = "http://stray/", .hashed = false});
    uint32_t junk = b.Add({.tag = "JUNK", .url = "http://junk/", .hashed = false});
    b.Entry(0x80, 3);
    bytes = b.Finish();
    Put32(bytes, 0x224, leak1);
    Put32(bytes, leak1 + 0x2C, leak2);
    Put32(bytes, freed, 0x0BADF00D);
    EXPECT_TRUE(Open().SweepLeaksAndRedirects(allLeaks));
    EXPECT_EQ(Get32(bytes, 0x224), 0u);
    EXPECT_TRUE(Free(leak1) && Free(leak2) && Free(redirect) && !Free(url) && !Free(orphan) && !Free(chained));
    EXPECT_EQ(Free(other), allLeaks);
    // The entries of the redirect, the other record, the free block and offset 3.
    EXPECT_EQ(std::tuple(Get64(bytes, 0x5018), Get64(bytes, 0x5020), Get64(bytes, 0x5028), Get64(bytes, 0x5030)),
              std::tuple(1u, allLeaks ? 1u : 0x3080u | uint64_t(other) << 32, 1u, 3u | 3ull << 32));
    // The leak chain reaches what no hash entry does; anything else unhashed goes.
    Put32(bytes, 0x224, chained);
    editor->RemoveOrphanRecords();
    EXPECT_TRUE(Free(orphan) && Free(stray) && Free(junk) && !Free(url) && !Free(chained) && !editor->Corrupt());
    // A leak chain head that is no leak stays, without a deletion.
    Put32(bytes, 0x224, url);
    EXPECT_TRUE(Open().SweepLeaksAndRedirects(false));
    EXPECT_TRUE(Get32(bytes, 0x224) == url && !Free(url));
  }
}

// Damage that would make an operation loop, leave the view or the cache folder, or wipe what it was not asked to ends
// it as corrupt: no cached file is touched and the other record and the hash tables keep their bytes.
TEST_F(IndexFormatTest, DamageEndsTheOperationAsCorrupt) {
  using Damage = std::function<void(Bytes&, uint32_t)>;
  auto remove = [this](IndexEditor& e) { e.DeleteRecordByUrl("http://a/", remover, {}); };
  auto sweep = [](IndexEditor& e) { e.SweepLeaksAndRedirects(false); };
  auto orphans = [](IndexEditor& e) { e.RemoveOrphanRecords(); };
  auto redirectAt = [](Bytes& b, uint32_t at, uint8_t blocks) {
    std::memcpy(&b[at], "REDR", 4);
    if (at + 4 < b.size()) b[at + 4] = blocks;
    Put32(b, 0x5020, 0x80);  // the third entry names it
    Put32(b, 0x5024, at);
  };
  const uint32_t other = 0x6080;  // the record after the victim
  const std::tuple<const char*, Damage, std::function<void(IndexEditor&)>> cases[] = {
      {"leak chain in the header, pointing at itself",
       [](Bytes& b, uint32_t) {
         std::memcpy(&b[0x4000], "LEAK\1", 5);
         Put32(b, 0x402C, 0x4000);
         Put32(b, 0x224, 0x4000);
       },
       sweep},
      {"record of no blocks", [](Bytes& b, uint32_t r) { b[r + 4] = 0; }, orphans},
      {"record past the view", [](Bytes& b, uint32_t r) { b[r + 4] = 200; }, remove},
      {"record reaching the next record", [](Bytes& b, uint32_t r) { b[r + 4] = 2; }, remove},
      {"orphan reaching a record", [](Bytes& b, uint32_t r) { b[r + 4] = 2, Put32(b, 0x5010, 1); }, orphans},
      {"redirect reaching a record", [&](Bytes& b, uint32_t) { redirectAt(b, other - 128, 2); }, sweep},
      {"redirect in the file's last four bytes", [&](Bytes& b, uint32_t) { redirectAt(b, uint32_t(b.size() - 4), 0); },
       sweep},
      {"redirect reaching the next hash table", [&](Bytes& b, uint32_t) { redirectAt(b, 0x7F80, 2); }, sweep},
      {"block of a record in a block the sweep would wipe", [](Bytes& b, uint32_t r) { Put32(b, 0x5024, r + 64); },
       orphans},
      {"file name leaving the folder", [](Bytes& b, uint32_t r) { std::memcpy(&b[r + 0x72], "..\\", 3); }, remove},
      {"sub-directory name leaving the folder", [](Bytes& b, uint32_t) { b[0x52] = '\\'; }, remove},
  };
  uint32_t record = builder.Add({.url = "http://a/", .file = "victim.txt"});
  ASSERT_EQ(builder.Add({.url = "http://b/", .file = "b.txt"}), other);
  builder.Entry(0x80, 0x7000);  // an entry for the damage to use
  builder.Add({.url = "http://c/"});
  Bytes intact = builder.Finish();
  intact.resize(0xC000);
  std::memcpy(&intact[0x8000], "HASH", 4);  // a second table: the first one's next
  Put32(intact, 0x5008, 0x8000);
  for (const auto& [what, damage, run] : cases) {
    SCOPED_TRACE(what);
    bytes = intact;
    damage(bytes, record);
    Bytes before = bytes;
    run(Open());
    EXPECT_TRUE(editor->Corrupt() && remover.removed.empty());
    for (auto [at, length] : {std::pair(other, 128u), std::pair(0x5000u, 4096u), std::pair(0x8000u, 4096u)})
      EXPECT_TRUE(std::equal(&before[at], &before[at + length], &bytes[at])) << std::hex << at;
  }
}

// Only the chain's own tables are skipped: a record or a stray block whose text reads "hash" at a block boundary is
// wiped like any other.
TEST_F(IndexFormatTest, BlocksReadingHashAreWipedUnlessTheyAreTheChainsTables) {
  IndexBuilder b;
  uint32_t tagged = b.Add({.url = "http://site.test/" + std::string(128 - 0x68 - 17, 'p') + "hashtag" +
                                  std::string(3000, 'q'),
                           .hashed = false});
  // A record after it: the scans must go on past the tagged one.
  b.Add({.url = "http://after.test/", .hashed = false});
  bytes = b.Finish();
  ASSERT_EQ(std::string(&bytes[tagged + 128], &bytes[tagged + 135]), "hashtag");
  const Bytes built = bytes;
  auto onlyTablesAndFreeBlocks = [&] {
    for (uint32_t at = 0x6000; at < bytes.size(); at += 128)
      if (Get32(bytes, at) != 0 && Get32(bytes, at) != 0x0BADF00D) return false;
    return std::equal(&built[0x5000], &built[0x5010], &bytes[0x5000]);
  };
  Open().RemoveOrphanRecords();  // the record is wiped whole
  EXPECT_TRUE(onlyTablesAndFreeBlocks() && !editor->Corrupt());
  // Without a record the scans could step over, every block is taken on its own.
  bytes = built;
  std::memcpy(&bytes[tagged], "JUNK", 4);
  std::string message;
  EXPECT_TRUE(IndexEditor(bytes, {}).Reset('T', message) && onlyTablesAndFreeBlocks()) << message;
}

// Between the walk and the deletion the browser may have changed the entry or the record: then nothing is deleted.
TEST_F(IndexFormatTest, DeletionConfirmsTheEntryStillNamesTheWalkedRecord) {
  uint32_t a = builder.Add({.url = "http://a/", .file = "a.htm"});
  uint32_t b = builder.Add({.url = "http://b/", .file = "b.htm"});
  const Bytes built = builder.Finish();
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"the entry now names another record", [&] { Put32(bytes, 0x5014, b); }},
      {"the entry was freed", [&] { Put32(bytes, 0x5010, 1); }},
      {"the record now holds another URL", [&] { std::memcpy(&bytes[a + 0x68], "http://z/", 9); }},
  };
  for (const auto& [what, browser] : changes) {
    SCOPED_TRACE(what);
    bytes = built;
    ASSERT_TRUE(Open().NextUrlRecord());
    browser();
    Bytes before = bytes;
    EXPECT_FALSE(editor->DeleteCurrentRecord(remover, {}));
    EXPECT_TRUE(remover.removed.empty() && bytes == before);
  }
}

TEST_F(IndexFormatTest, BlocksPastTheBitmapAreNotTracked) {
  uint32_t at = 0x4000 + 0x3DB0 * 1024;  // the first block the bitmap cannot reach
  builder.Entry(0x80, at);
  bytes = builder.Finish();
  bytes.resize(at + 4096);
  std::memcpy(&bytes[at], "URL \1", 5);
  Bytes before = bytes;
  ASSERT_TRUE(Open().NextUrlRecord() && editor->DeleteCurrentRecord(remover, {}));
  EXPECT_TRUE(Free(at));
  EXPECT_TRUE(std::equal(&before[0x4000], &before[0x5000], &bytes[0x4000]));  // past the bitmap's end
}

TEST(IndexTexts, NamesAreTheBrowsersAgesShowDaysHoursAndMinutesAndPermissionsGoToTheSitesDomain) {
  IndexNames names = IndexNamesOf("C:\\Documents and Settings\\Al\\Cookies\\index.dat", 16384);
  EXPECT_EQ(names.mutex, "c:!documents and settings!al!cookies!");
  EXPECT_EQ(names.mapping, "C:_Documents and Settings_Al_Cookies_index.dat_16384");
  const uint64_t now = 0x01DB000000000000, minute = 600'000'000;
  EXPECT_EQ(AgeText(now - ((1234 * 24 + 23) * 60 + 59) * minute, now), "1234-23:59");
  EXPECT_EQ(AgeText(now + 90 * minute, now), " 00-00:00") << "a last access after now";
  const std::pair<const char*, std::optional<std::string>> domains[] = {
      {"Cookie:user@W1.News.Site.TEST/", "site.test"},       {"Cookie:user@a.b.co.uk/path", "b.co.uk"},
      {"Cookie:user@10.1.2.3/", "10.1.2.3"},                 {"Cookie:user@192.168.0.1:8080/", std::nullopt},  // a port
      {"Cookie:user@https://deep.site.de/a#b", "site.de"},   {"Cookie:user@*.co.uk/", "co.uk"},
      {"Cookie:user@#.#.#.#?x", std::nullopt},               {"no-at-sign.test", "no-at-sign.test"},
  };
  for (const auto& [address, domain] : domains) EXPECT_EQ(IEPermissionDomain(address), domain) << address;
}

#ifndef _WIN32

std::string Sample(const std::string& path) {
  return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}};
}

// msiecfexport's or msiecfinfo's answer for these bytes.
std::string Tool(const std::string& tool, const std::string& bytes) {
  std::string in = std::filesystem::temp_directory_path() / ("tidemark_" + std::to_string(getpid())), out = in + ".txt";
  std::ofstream(in, std::ios::binary) << bytes;
  bool ran = std::system((tool + " '" + in + "' >'" + out + "' 2>&1").c_str()) != -1;
  std::string text = ran ? Sample(out) : "";
  for (const std::string& file : {in, out}) std::filesystem::remove(file);
  return text;
}

// The first group of pattern's first match in text; empty for none.
std::string Match(const std::string& text, const std::string& pattern) {
  std::smatch match;
  return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : "";
}

// "url|cached file path" of every URL record msiecfexport lists, the cache folder being C:\IE\CONTENT.IE5.
std::vector<std::string> ExportedUrls(const std::string& bytes) {
  std::string out = Tool("msiecfexport", bytes);
  std::vector<std::string> urls;
  for (size_t at = 0; (at = out.find("Record type\t\t: URL\n", at)) != std::string::npos; ++at) {
    std::string record = out.substr(at, out.find("\n\n", at) - at), file = Match(record, "Filename\t+: (.*)");
    std::string subDir = Match(record, "Cache directory index\t+: .*\\((\\w{8})\\)");
    if (!file.empty()) file = UpperCase("C:\\IE\\Content.IE5\\" + (subDir.empty() ? "" : subDir + "\\") + file);
    urls.push_back(Match(record, "Location\t+: (.*)") + "|" + file);
  }
  std::sort(urls.begin(), urls.end());
  return urls;
}

TEST(IndexSamples, TheWalkIsMsiecfexportsAndMsiecfinfoReadsTheIndexesThePurgesChanged) {
  if (std::system("command -v msiecfexport >/dev/null && command -v msiecfinfo >/dev/null") != 0)
    GTEST_SKIP() << "msiecfexport and msiecfinfo (libmsiecf-utils) not installed";
  TIDEMARK_REQUIRE_SAMPLE(cacheSample, "ie-cache-index.dat");
  TIDEMARK_REQUIRE_SAMPLE(historySample, "ie-history-index.dat");
  std::vector<std::string> cached;  // the files the samples' entries name
  for (const std::string& sample : {cacheSample, historySample}) {
    std::string text = Sample(sample);
    Bytes bytes(text.begin(), text.end());
    IndexEditor editor(bytes, "C:\\IE\\CONTENT.IE5");
    ASSERT_EQ(editor.Check(), kIndexOk);
    std::vector<std::string> urls;
    for (; editor.NextUrlRecord(); urls.push_back(editor.Record().Url + "|" + editor.Record().CachedFilePath))
      if (!editor.Record().CachedFilePath.empty()) cached.push_back(editor.Record().CachedFilePath);
    EXPECT_EQ((std::sort(urls.begin(), urls.end()), urls), ExportedUrls(text)) << sample;
  }

  MemoryPurge p;
  std::tie(p.ie.IECacheFolder, p.ie.IEHistoryFolder) = std::pair("C:\\IE\\Content.IE5", "C:\\IE\\History.IE5");
  const std::string cacheIndex = "C:\\IE\\Content.IE5\\index.dat", historyIndex = "C:\\IE\\History.IE5\\index.dat";
  p.files.AddFile(cacheIndex, Sample(cacheSample));
  p.files.AddFile(historyIndex, Sample(historySample));
  // Every cached file but the first (its entry is a stray's), and one no entry names.
  for (size_t i = 1; i < cached.size(); ++i) p.files.AddFile(cached[i], "cached");
  p.files.AddFile("C:\\IE\\Content.IE5\\ENG3X4ZR\\stray.htm", "stray");
  // The items msiecfinfo counts; empty when it does not read the file as an index.
  auto items = [&](const std::string& index) {
    return Match(Tool("msiecfinfo", p.files.ReadFile(index).value_or("")), "Number of items\t+: (\\d+)");
  };

  IEStraysPurge(p.Environment());
  EXPECT_EQ(items(cacheIndex), "20") << "the stray's entry and the redirects are gone";
  for (auto purge : {IECachePurge, IEVisitedUrlsPurge}) purge(p.Environment());
  EXPECT_EQ(std::tuple(items(cacheIndex), items(historyIndex)), std::tuple("0", "0"));
}

// The index purges and a running browser: the browser gets the index between two entries, and what it changes
// meanwhile is respected; damage ends the purge with the corruption line and leaves a readable index.
class IndexPurgeTest : public ::testing::Test {
 protected:
  static inline const std::string kHistory = "C:\\IE\\History.IE5", kCache = "C:\\IE\\Content.IE5";
  IndexPurgeTest() { std::tie(p.ie.IEHistoryFolder, p.ie.IECacheFolder) = std::tuple(kHistory, kCache); }
  void AddIndex(const std::string& folder, const Bytes& bytes) {
    p.files.AddFile(folder + "\\index.dat", std::string(bytes.begin(), bytes.end()));
  }
  // The URL records of the folder's index (or of a view); -1 when it reads as no index.
  int UrlCount(const std::string& folder) {
    std::string text = p.files.ReadFile(folder + "\\index.dat").value_or("");
    return UrlCount(Bytes(text.begin(), text.end()));
  }
  static int UrlCount(Bytes bytes) {
    IndexEditor editor(bytes, "C:\\CACHE");
    int count = 0;
    if (editor.Check() != kIndexOk) return -1;
    while (editor.NextUrlRecord()) ++count;
    return count;
  }

  MemoryPurge p;
};

TEST_F(IndexPurgeTest, TheBrowserHasTheIndexBetweenTwoEntriesDamageThenEndsThePurgeWithTheCorruptionLine) {
  IndexBuilder b;
  for (int i = 0; i < 450; ++i) b.Add({.url = "Visited: me@http://site" + std::to_string(i) + ".test/"});
  const Bytes built = b.Finish();
  ASSERT_NE(Get32(built, 0x5008), 0u) << "a second table";
  AddIndex(kHistory, built);
  std::set<int> seen;  // the entries left each time the browser had the index
  p.memory.whileFree = [&](Bytes& view) { seen.insert(UrlCount(view)); };
  IEVisitedUrlsPurge(p.Environment());
  for (int left = 0; left < 450; ++left) EXPECT_TRUE(seen.count(left)) << left;
  EXPECT_EQ(p.r.report.ErrorLevel(), 0);
  // The chain cut while the browser had the index after the first entry.
  AddIndex(kHistory, built);
  p.memory.whileFree = [releases = 0](Bytes& view) mutable {
    if (++releases == 2) Put32(view, 0x5008, 0x123);
  };
  IEVisitedUrlsPurge(p.Environment());
  EXPECT_NE(std::ranges::find(p.Lines(), "*** Error - Visited URLs Index.dat is corrupted - Visited URLs"),
            p.Lines().end());
  EXPECT_EQ(p.r.report.ErrorLevel(), 7);
  EXPECT_GE(UrlCount(kHistory), 0);
}

// A cached file and its entry that the browser adds after the strays' list was made are no stray.
TEST_F(IndexPurgeTest, StraysSparesWhatTheBrowserAddedAfterTheList) {
  IndexBuilder before;
  before.Add({.url = "http://kept.test/", .file = "kept.htm"});
  IndexBuilder after = before;
  after.Add({.url = "http://new.test/", .file = "new.htm"});
  AddIndex(kCache, before.Finish());
  for (std::string file : {"kept", "stray"}) p.files.AddFile(kCache + "\\" + file + ".htm", file);
  int releases = 0;
  p.memory.whileFree = [&](Bytes& view) {
    if (++releases != 2) return;  // the first ends the mapping, the second the listing
    Bytes added = after.Finish();
    ASSERT_EQ(added.size(), view.size());
    view = added;
    p.files.AddFile(kCache + "\\new.htm", "new");
  };
  IEStraysPurge(p.Environment());
  EXPECT_EQ(std::tuple(p.files.FileExists(kCache + "\\new.htm"), p.files.FileExists(kCache + "\\stray.htm"),
                       UrlCount(kCache)),
            std::tuple(true, false, 2));
}

#endif

}  // namespace
}  // namespace tidemark::ie
