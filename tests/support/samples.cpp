#include "support/samples.h"

#include <fstream>

namespace tidemark::test {

std::string SamplePath(const std::string& name) {
  std::string folder = TIDEMARK_SAMPLES;
  if (folder.empty()) return {};
#ifdef _WIN32
  std::string path = folder + "\\" + name;
#else
  std::string path = folder + "/" + name;
#endif
  return std::ifstream(path, std::ios::binary).good() ? path : std::string();
}

}  // namespace tidemark::test
