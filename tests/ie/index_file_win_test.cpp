#include "ie/index_file.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <thread>

#include "platform/files.h"
#include "platform/shared_memory_win.h"
#include "support/index_builder.h"
#include "support/sandbox_win.h"

namespace tidemark::ie {
namespace {

using test::IndexBuilder;
using Bytes = std::vector<uint8_t>;

class FileRemover : public CachedFileRemover {
 public:
  bool Remove(const std::string& path) override {
    if (DeleteFileA(path.c_str())) return true;
    error = GetLastError();
    return false;
  }
  uint32_t LastError() const override { return error; }
  uint32_t ClusterSize(const std::string&) override { return 0; }
  DWORD error = 0;
};

class Messages : public cookies::UserMessages {
 public:
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  std::vector<std::string> shown;
};

class CountingMemory : public platform::Win32SharedMemory {
 public:
  std::optional<platform::MappedView> MapFile(const std::string& path, const std::string& name) override {
    ++maps;
    return fail ? std::nullopt : Win32SharedMemory::MapFile(path, name);
  }
  int maps = 0;
  bool fail = false;
};

// Whether another thread gets the named mutex at once (and gives it back).
bool OtherThreadGets(const std::string& name) {
  bool got = false;
  std::thread([&] {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
    got = WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0;
    if (got) ReleaseMutex(mutex);
    CloseHandle(mutex);
  }).join();
  return got;
}

// A cache index (kind 'T') with two records in a scratch folder.
class IndexFileTest : public ::testing::Test {
 protected:
  IndexFileTest() {
    builder.SubDir("SUBDIR01", 2);
    builder.Add({.url = "http://a/", .file = "a.htm", .fileSize = 4});
    builder.Add({.url = "http://b/"});
  }
  std::string Write(const Bytes& bytes) { return temp.Write("Content.IE5\\index.dat", std::string(bytes.begin(), bytes.end())); }
  IndexFile& Open(const Bytes& bytes, int expected = kIndexOk) {
    Write(bytes);
    index.emplace(memory, IndexFolders{{'T', folder}}, files, messages, IndexOptions{});
    EXPECT_EQ(index->OpenIndexFile(folder, 'T'), expected == kIndexOk);
    EXPECT_EQ(index->ErrorCode(), expected);
    return *index;
  }
  IndexNames Names() { return IndexNamesOf(folder + "\\index.dat", builder.Finish().size()); }

  IndexBuilder builder;
  test::TempFolder temp;
  std::string folder = temp / "Content.IE5";
  std::string cached = temp.Write("Content.IE5\\SUBDIR01\\a.htm", "data");
  CountingMemory memory;
  FileRemover files;
  Messages messages;
  std::optional<IndexFile> index;
};

TEST_F(IndexFileTest, OpenAnswersEachErrorWithItsMessage) {
  struct Case {
    std::function<void(Bytes&)> damage;
    int code;
    const char* message;
  } cases[] = {
      {[](Bytes& b) { b[0x1A] = '3'; }, 91, "Error - version of Cache Index.dat not supported"},
      {[](Bytes& b) { b[1] = 'X'; }, 13, "Error - Cache Index.dat is corrupted"},
      {[](Bytes& b) { b.resize(20); }, 13, "Error - Cache Index.dat is corrupted"},
      {[](Bytes& b) { b[0x21] = 0; }, 12, "Error - Cache Index.dat not yet initialized"},
      {[](Bytes& b) { b[0x21] = 0x48; }, 93, "Error - Invalid Hash Pointer in Cache Index.dat file"},
      {[](Bytes& b) { b[0x21] = 0x80; }, 93, "Error - Invalid Hash Pointer in Cache Index.dat file"},  // at the end
      {[&](Bytes&) { memory.fail = true; }, 22, "Error - Unable to open Cache Index.dat file"},
  };
  for (const Case& c : cases) {
    Bytes bytes = builder.Finish();
    c.damage(bytes);
    Open(bytes, c.code);
    EXPECT_EQ(index->ErrorMessage(), c.message);
    EXPECT_FALSE(index->NextUrlRecord());
  }
  EXPECT_FALSE(index->OpenIndexFile(temp / "elsewhere", 'c'));
  EXPECT_EQ(index->ErrorCode(), 11);
  EXPECT_EQ(index->ErrorMessage(), "Error - Pro-Mode Cookies Index.dat file not found");
}

TEST_F(IndexFileTest, TheSameKindOpensOnceAndRestartsItsWalk) {
  IndexFile& index = Open(builder.Finish());
  ASSERT_TRUE(index.NextUrlRecord() && index.NextUrlRecord());
  ASSERT_TRUE(index.OpenIndexFile(folder, 'T'));
  ASSERT_TRUE(index.NextUrlRecord());
  EXPECT_EQ(index.Record().Url, "http://a/");
  EXPECT_EQ(memory.maps, 1);
}

TEST_F(IndexFileTest, AHeldCachedFileKeepsItsRecord) {
  IndexFile& index = Open(builder.Finish());
  HANDLE held = CreateFileA(cached.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(index.NextUrlRecord());
  EXPECT_FALSE(index.DeleteCurrentRecord());
  EXPECT_EQ(index.LastDeleteError(), 32u);
  index.CloseIndexFile();
  auto kept = platform::RealFileSystem().ReadFile(temp / "Content.IE5\\index.dat");
  EXPECT_EQ(Bytes(kept->begin(), kept->end()), builder.Finish());
  CloseHandle(held);
  ASSERT_TRUE(index.OpenIndexFile(folder, 'T') && index.NextUrlRecord());
  EXPECT_TRUE(index.DeleteCurrentRecord());
  EXPECT_EQ(index.LastDeleteError(), 0u);
  EXPECT_FALSE(platform::RealFileSystem().FileExists(cached));
}

TEST_F(IndexFileTest, ASecondMappingSeesTheChangesAndAnOverwrittenSignatureIsReported) {
  IndexFile& index = Open(builder.Finish());
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, Names().mapping.c_str());
  ASSERT_TRUE(mapping);
  auto* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  ASSERT_TRUE(index.DeleteRecordByUrl("http://b/"));
  EXPECT_EQ(view[0x5018], 1);  // the freed hash entry
  view[0] = 'X';
  index.CloseIndexFile();
  EXPECT_EQ(index.ErrorCode(), 99);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Tidemark  -  Message|Error - Cache Index.dat Signature overlayed"
                                                     "\r\n\r\nNotify the vendor\r\nFunction Terminated."});
  UnmapViewOfFile(view);
  CloseHandle(mapping);
}

TEST_F(IndexFileTest, WaitsNestAndTheMutexIsFreeBetweenEntries) {
  IndexFile& index = Open(builder.Finish());
  std::string name = Names().mutex;
  ASSERT_TRUE(index.NextUrlRecord());
  ASSERT_TRUE(index.LockIndex() && index.LockIndex());
  index.UnlockIndex();
  EXPECT_FALSE(OtherThreadGets(name));
  EXPECT_TRUE(index.DeleteCurrentRecord());
  index.UnlockIndex();
  EXPECT_TRUE(OtherThreadGets(name));
  index.CloseIndexFile();
  EXPECT_FALSE(index.LockIndex());
  EXPECT_EQ(index.MutexMessage(), "Error - Enq requires a Mutex for Index.dat file");
}

TEST_F(IndexFileTest, AnAbandonedMutexIsHeldOnceByTheNextWait) {
  IndexFile& index = Open(builder.Finish());
  std::string name = Names().mutex;
  std::thread([&] {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, name.c_str());
    WaitForSingleObject(mutex, INFINITE);
  }).join();
  ASSERT_TRUE(index.LockIndex());
  EXPECT_EQ(index.LastWait(), platform::WaitStatus::Abandoned);
  index.UnlockIndex();
  EXPECT_TRUE(OtherThreadGets(name));
}

TEST_F(IndexFileTest, ResetEmptiesTheFileOrSaysWhyNot) {
  struct Case {
    std::function<void(Bytes&)> damage;
    bool reset;
    const char* message;
  } cases[] = {
      {[](Bytes& b) { b[0] = 'X'; }, false, "Error - Index.dat is corrupted"},
      {[](Bytes& b) { b[0x1A] = '1'; }, false, "Error - version of Index.dat not supported"},
      {[](Bytes& b) { b[0x5009] = 0x50; }, false, "Error Modifying file"},  // a circular chain
      {[](Bytes&) {}, true, "Processed with no Errors..."},
  };
  index.emplace(memory, IndexFolders{{'T', folder}}, files, messages, IndexOptions{});
  for (const Case& c : cases) {
    Bytes bytes = builder.Finish();
    c.damage(bytes);
    std::string message;
    EXPECT_EQ(index->ResetIndexFile(Write(bytes), 'D', message), c.reset);
    EXPECT_EQ(message, c.message);
  }
  ASSERT_TRUE(index->OpenIndexFile(folder, 'T'));
  EXPECT_FALSE(index->NextUrlRecord());
  std::string message;
  EXPECT_FALSE(index->ResetIndexFile(temp / "none.dat", 'D', message));
  EXPECT_EQ(message, "Error - File does not exist - " + temp / "none.dat");
}

}  // namespace
}  // namespace tidemark::ie
