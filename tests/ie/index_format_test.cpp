#include "ie/index_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ie/index_file.h"
#include "support/index_builder.h"

namespace tidemark::ie {
namespace {

using test::IndexBuilder;
using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) { uint32_t v; std::memcpy(&v, &b[at], 4); return v; }
uint64_t Get64(const Bytes& b, size_t at) { return Get32(b, at) | uint64_t(Get32(b, at + 4)) << 32; }
void Put32(Bytes& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

struct FakeRemover : CachedFileRemover {
  bool Remove(const std::string& path) override { return removed.push_back(path), true; }
  uint32_t LastError() const override { return 0; }
  uint32_t ClusterSize(const std::string&) override { return 4096; }
  std::vector<std::string> removed;
};

IndexBuilder TwoSubDirs() {
  IndexBuilder b;
  b.SubDir("SUBDIR01", 5);
  b.SubDir("SUBDIR02", 0);
  return b;
}

// An index with two sub-directories; tests add records, then Open() it.
class IndexFormatTest : public ::testing::Test {
 protected:
  IndexEditor& Open() {
    if (bytes.empty()) bytes = builder.Finish();
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

  IndexBuilder builder = TwoSubDirs();
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
  for (uint32_t urlOffset : {0u, 0x80000000u, 0x80u}) {  // none, negative, past the record's block
    Put32(bytes, outside + 0x34, urlOffset);
    editor->Restart();
    editor->NextUrlRecord();
    editor->NextUrlRecord();
    EXPECT_EQ(r.Url, "URL - blank..") << urlOffset;
  }
  Put32(bytes, 0x5008, 0x7080);  // an unaligned next table
  EXPECT_EQ(Urls().size(), 448u - 5);
  EXPECT_FALSE(editor->Corrupt());
}

TEST_F(IndexFormatTest, DeleteChangesOnlyCountsBlocksAndEntryWithinTheirFloors) {
  struct Case {
    uint32_t allocated, subDir; int64_t cacheSize; IndexOptions options; uint32_t allocatedAfter, filesAfter; int64_t cacheSizeAfter;
  } const cases[] = {
      {40, 0, 1000, {.IE7 = true}, 38, 4, 700},         // two blocks, one file, 300 bytes
      {40, 0, 9000, {.KeepFiles = true}, 38, 4, 4904},  // a 4096-byte cluster; the file stays
      {33, 1, 100, {.IE7 = true}, 32, 0, 0},            // the floors
  };
  for (const Case& c : cases) {
    IndexBuilder b = TwoSubDirs();
    uint32_t at = b.Add({.url = std::string(60, 'u'), .file = "f.htm", .subDir = uint8_t(c.subDir), .fileSize = 300});
    bytes = b.Finish();
    Put32(bytes, 0x28, c.allocated);
    std::memcpy(&bytes[0x38], &c.cacheSize, 8);
    Bytes before = bytes;
    remover.removed.clear();
    Open();
    ASSERT_TRUE(editor->NextUrlRecord() && editor->DeleteCurrentRecord(remover, c.options));
    EXPECT_EQ(std::tuple(Get32(bytes, 0x28), int64_t(Get64(bytes, 0x38)), Get32(bytes, 0x4C + 12 * c.subDir), remover.removed.size()),
              std::tuple(c.allocatedAfter, c.cacheSizeAfter, c.filesAfter, c.options.KeepFiles ? 0u : 1u));
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
    b.Entry(0x80, 3);
    bytes = b.Finish();
    Put32(bytes, 0x224, leak1);
    Put32(bytes, leak1 + 0x2C, leak2);
    Put32(bytes, freed, 0x0BADF00D);
    Open();
    EXPECT_TRUE(editor->SweepLeaksAndRedirects(allLeaks));
    EXPECT_EQ(Get32(bytes, 0x224), 0u);
    EXPECT_TRUE(Free(leak1) && Free(leak2) && Free(redirect) && !Free(url) && !Free(orphan));
    EXPECT_EQ(Free(other), allLeaks);
    // The entries of the redirect, the other record, the free block and offset 3.
    EXPECT_EQ(Get64(bytes, 0x5018), 1u);
    EXPECT_EQ(Get64(bytes, 0x5020), allLeaks ? 1u : 0x3080u | uint64_t(other) << 32);
    EXPECT_EQ(Get64(bytes, 0x5028), 1u);
    EXPECT_EQ(Get64(bytes, 0x5030), 3u | 3ull << 32);
    editor->RemoveOrphanRecords();
    EXPECT_TRUE(Free(orphan) && !Free(url) && !editor->Corrupt());
  }
  // The leak chain reaches what no hash entry does; anything else unhashed goes.
  uint32_t kept = builder.Add({.url = "http://kept/"});
  uint32_t chained = builder.Add({.tag = "LEAK", .url = "http://leak/", .hashed = false});
  uint32_t stray = builder.Add({.tag = "LEAK", .url = "http://stray/", .hashed = false});
  uint32_t junk = builder.Add({.tag = "JUNK", .url = "http://junk/", .hashed = false});
  bytes = builder.Finish();
  Put32(bytes, 0x224, chained);
  Open().RemoveOrphanRecords();
  EXPECT_FALSE(editor->Corrupt() || Free(kept) || Free(chained));
  EXPECT_TRUE(Free(stray) && Free(junk));
  // A leak chain head that is no leak stays, without a deletion.
  Put32(bytes, 0x224, kept);
  EXPECT_TRUE(Open().SweepLeaksAndRedirects(false));
  EXPECT_EQ(Get32(bytes, 0x224), kept);
}

// Damage that would make an operation loop, leave the view or the cache
// folder ends it as corrupt, and no cached file is touched.
TEST_F(IndexFormatTest, DamageEndsTheOperationAsCorrupt) {
  auto walk = [](IndexEditor& e, FakeRemover&) { e.Restart(); while (e.NextUrlRecord()) continue; };
  auto remove = [](IndexEditor& e, FakeRemover& f) { e.DeleteRecordByUrl("http://a/", f, {}); };
  struct Case { const char* what; std::function<void(Bytes&, uint32_t)> damage; std::function<void(IndexEditor&, FakeRemover&)> run; } cases[] = {
      {"circular hash chain", [](Bytes& b, uint32_t) { Put32(b, 0x5008, 0x5000); }, walk},
      {"leak chain in the header, pointing at itself",
       [](Bytes& b, uint32_t) {
         std::memcpy(&b[0x4000], "LEAK\1", 5);
         Put32(b, 0x402C, 0x4000);
         Put32(b, 0x224, 0x4000);
       },
       [](IndexEditor& e, FakeRemover&) { e.SweepLeaksAndRedirects(false); }},
      {"record of no blocks", [](Bytes& b, uint32_t r) { b[r + 4] = 0; },
       [](IndexEditor& e, FakeRemover&) { e.RemoveOrphanRecords(); }},
      {"record past the view", [](Bytes& b, uint32_t r) { b[r + 4] = 200; }, remove},
      {"file name leaving the folder", [](Bytes& b, uint32_t r) { std::memcpy(&b[r + 0x72], "..\\", 3); }, remove},
      {"sub-directory name leaving the folder", [](Bytes& b, uint32_t) { b[0x52] = '\\'; }, remove},
  };
  uint32_t record = builder.Add({.url = "http://a/", .file = "victim.txt"});
  Bytes intact = builder.Finish();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bytes = intact;
    c.damage(bytes, record);
    c.run(Open(), remover);
    EXPECT_TRUE(editor->Corrupt() && remover.removed.empty());
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

TEST(IndexNamesTest, AreTheBrowsers) {
  IndexNames names = IndexNamesOf("C:\\Documents and Settings\\Al\\Cookies\\index.dat", 16384);
  EXPECT_EQ(names.mutex, "c:!documents and settings!al!cookies!");
  EXPECT_EQ(names.mapping, "C:_Documents and Settings_Al_Cookies_index.dat_16384");
}

}  // namespace
}  // namespace tidemark::ie
