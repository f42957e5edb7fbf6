// Shredding a 64 MiB file (quick, and thorough with 3 passes) against a bare
// write-through WriteFile loop writing the same bytes in the same pieces.
#include "bench_support_win.h"

namespace {

using namespace tidemark;

constexpr size_t kFileSize = 64u << 20;

void MakeFile(const std::string& path) {
  std::vector<char> data(1 << 20, 'x');
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  for (size_t done = 0; done < kFileSize; done += data.size()) WriteFile(file, data.data(), DWORD(data.size()), &written, nullptr);
  CloseHandle(file);
}

void BareOverwrite(const std::string& path, int passes) {
  std::vector<char> buffer(engine::kMaxShredBuffer, 0);
  for (int pass = 0; pass < passes; ++pass) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_WRITE_THROUGH, nullptr);
    DWORD written;
    for (size_t done = 0; done < kFileSize; done += buffer.size())
      WriteFile(file, buffer.data(), DWORD(buffer.size()), &written, nullptr);
    CloseHandle(file);
  }
  DeleteFileA(path.c_str());
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::string root = bench::ScratchFolder("tm_shred_bench");
  std::string path = root + "\\big.bin";
  test::PurgeFixture purge;
  struct Kind {
    const char* name;
    char mode;
    int passes;
  } kinds[] = {{"quick", '0', 1}, {"thorough, 3 passes", '1', 3}};
  for (const Kind& kind : kinds) {
    double bare = bench::Median(3, [&] { MakeFile(path); }, [&] { BareOverwrite(path, kind.passes); });
    double ours = bench::Median(3, [&] { MakeFile(path); }, [&] { purge.Environment().deletion.ShredFile(path, kind.mode, kind.passes); });
    double megabytes = double(kFileSize) * kind.passes / (1 << 20);
    std::printf("%-19s Tidemark %6.0f MiB/s, bare loop %6.0f MiB/s, throughput ratio %.2fx\n", kind.name,
                megabytes / ours, megabytes / bare, bare / ours);
  }
  DeleteFileA(path.c_str());
  RemoveDirectoryA(root.c_str());
  return 0;
}
