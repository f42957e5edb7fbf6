#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <thread>

#include "ie/index_file.h"
#include "platform/files.h"
#include "platform/shared_memory_win.h"
#include "support/index_builder.h"
#include "support/sandbox_win.h"

namespace tidemark::ie {
namespace {

using Bytes = std::vector<uint8_t>;

struct FileRemover : CachedFileRemover {
  bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) || (error = GetLastError(), false); }
  uint32_t LastError() const override { return error; }
  uint32_t ClusterSize(const std::string&) override { return 0; }
  DWORD error = 0;
};

struct Messages : cookies::UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  std::vector<std::string> shown;
};

struct FailingMemory : platform::Win32SharedMemory {
  std::optional<platform::MappedView> MapFile(const std::string& path, const std::string& name) override {
    return fail ? std::nullopt : Win32SharedMemory::MapFile(path, name);
  }
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
    index.emplace(memory, IndexFolders{{'T', folder}}, files, messages, IndexOptions{});
  }
  std::string Write(const Bytes& bytes) { return temp.Write("Content.IE5\\index.dat", std::string(bytes.begin(), bytes.end())); }
  // The built index with one change.
  Bytes Damaged(const std::function<void(Bytes&)>& damage) { Bytes bytes = builder.Finish(); damage(bytes); return bytes; }

  test::IndexBuilder builder;
  test::TempFolder temp;
  std::string folder = temp / "Content.IE5";
  std::string cached = temp.Write("Content.IE5\\SUBDIR01\\a.htm", "data");
  IndexNames names = IndexNamesOf(folder + "\\index.dat", builder.Finish().size());
  FailingMemory memory;
  FileRemover files;
  Messages messages;
  std::optional<IndexFile> index;
};

TEST_F(IndexFileTest, OpenAnswersEachErrorWithItsMessage) {
  const std::tuple<std::function<void(Bytes&)>, int, const char*> cases[] = {
      {[](Bytes& b) { b[0x1A] = '3'; }, 91, "Error - version of Cache Index.dat not supported"},
      {[](Bytes& b) { b[1] = 'X'; }, 13, "Error - Cache Index.dat is corrupted"},
      {[](Bytes& b) { b.resize(20); }, 13, "Error - Cache Index.dat is corrupted"},
      {[](Bytes& b) { b[0x21] = 0; }, 12, "Error - Cache Index.dat not yet initialized"},
      {[](Bytes& b) { b[0x21] = 0x48; }, 93, "Error - Invalid Hash Pointer in Cache Index.dat file"},
      {[](Bytes& b) { b[0x21] = 0x80; }, 93, "Error - Invalid Hash Pointer in Cache Index.dat file"},  // at the end
      {[&](Bytes&) { memory.fail = true; }, 22, "Error - Unable to open Cache Index.dat file"},
  };
  for (const auto& [damage, code, message] : cases) {
    Write(Damaged(damage));
    EXPECT_FALSE(index->OpenIndexFile(folder, 'T') || index->NextUrlRecord());
    EXPECT_EQ(std::pair(index->ErrorCode(), index->ErrorMessage()), std::pair(code, std::string(message)));
  }
  EXPECT_FALSE(index->OpenIndexFile(temp / "elsewhere", 'c'));
  EXPECT_EQ(index->ErrorMessage(), "Error - Pro-Mode Cookies Index.dat file not found");
}

TEST_F(IndexFileTest, LocksNestAnAbandonedMutexIsHeldOnceOtherMappingsSeeChangesAndAnOverwrittenSignatureIsTold) {
  Write(builder.Finish());
  ASSERT_TRUE(index->OpenIndexFile(folder, 'T'));
  std::thread([&] { WaitForSingleObject(OpenMutexA(SYNCHRONIZE, FALSE, names.mutex.c_str()), INFINITE); }).join();
  ASSERT_TRUE(index->NextUrlRecord());
  ASSERT_TRUE(index->LockIndex() && index->LockIndex());
  EXPECT_EQ(index->LastWait(), platform::WaitStatus::Abandoned);
  index->UnlockIndex();
  EXPECT_FALSE(OtherThreadGets(names.mutex));
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, names.mapping.c_str());
  ASSERT_TRUE(mapping);
  auto* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  EXPECT_TRUE(index->DeleteRecordByUrl("http://a/"));
  index->UnlockIndex();
  EXPECT_TRUE(OtherThreadGets(names.mutex));
  EXPECT_FALSE(platform::RealFileSystem().FileExists(cached));
  EXPECT_EQ(view[0x5010], 1);  // the freed hash entry
  view[0] = 'X';
  index->CloseIndexFile();
  EXPECT_EQ(index->ErrorCode(), 99);
  EXPECT_EQ(messages.shown, std::vector<std::string>{"Tidemark  -  Message|Error - Cache Index.dat Signature overlayed"
                                                     "\r\n\r\nNotify the vendor\r\nFunction Terminated."});
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  EXPECT_FALSE(index->LockIndex());
  EXPECT_EQ(index->MutexMessage(), "Error - Enq requires a Mutex for Index.dat file");
}

// The history purge resets a daily index the browser holds.
TEST_F(IndexFileTest, ResetEmptiesTheFileOrSaysWhyNot) {
  const std::tuple<std::function<void(Bytes&)>, bool, const char*> cases[] = {
      {[](Bytes& b) { b[0] = 'X'; }, false, "Error - Index.dat is corrupted"},
      {[](Bytes& b) { b[0x5009] = 0x50; }, false, "Error Modifying file"},  // a circular chain
      {[](Bytes&) {}, true, "Processed with no Errors..."},
  };
  for (const auto& [damage, reset, text] : cases) {
    std::string message;
    EXPECT_EQ((std::pair{index->ResetIndexFile(Write(Damaged(damage)), 'D', message), message}), std::pair(reset, std::string(text)));
  }
  ASSERT_TRUE(index->OpenIndexFile(folder, 'T'));
  EXPECT_FALSE(index->NextUrlRecord());
}

}  // namespace
}  // namespace tidemark::ie
