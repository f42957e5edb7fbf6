// The temp folder purge of many small files in nested folders against a bare
// FindFirstFileA / DeleteFileA / RemoveDirectoryA walk of the same tree.
#include "bench_support_win.h"
#include "windows/windows_purges.h"

namespace {

using namespace tidemark;

void BareWalk(const std::string& folder) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      BareWalk(path);
      RemoveDirectoryA(path.c_str());
    } else {
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(find, &data));
  FindClose(find);
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::string root = bench::ScratchFolder("tm_temp_bench");
  std::string tree = root + "\\TEMP";
  test::PurgeFixture purge;
  purge.tempFolders.selected = {{"System Temp", tree}};
  double ours[2], bare[2];
  const int sizes[] = {5000, 20000};
  for (int s = 0; s < 2; ++s) {
    int files = sizes[s];
    auto prepare = [&] { bench::MakeTree(tree, files); };
    bare[s] = bench::Median(3, prepare, [&] { BareWalk(tree); });
    ours[s] = bench::Median(3, prepare, [&] { purge.r.sink.lines.clear();
      windows::TempFoldersPurge(purge.Environment()); });
    std::printf("%6d files: Tidemark %.3f s, bare walk %.3f s, ratio %.2fx (%zu report lines)\n", files, ours[s],
                bare[s], ours[s] / bare[s], purge.r.sink.lines.size());
  }
  std::printf("growth 5,000 -> 20,000 files: Tidemark %.2fx, bare walk %.2fx (4.00x is linear)\n", ours[1] / ours[0],
              bare[1] / bare[0]);
  BareWalk(root);
  RemoveDirectoryA(root.c_str());
  return 0;
}
