// The public sample files beside the repository (../shared/samples).
#pragma once
#include <fstream>
#include <string>

namespace tidemark::test {

// Full path of a sample file, or empty when the samples are not there.
inline std::string SamplePath(const std::string& name) {
  std::string path = std::string(TIDEMARK_SAMPLES) + "/" + name;  // Windows takes "/" as well
  return *TIDEMARK_SAMPLES && std::ifstream(path, std::ios::binary).good() ? path : std::string();
}

}  // namespace tidemark::test

// Skips the current test when the sample is absent.
#define TIDEMARK_REQUIRE_SAMPLE(var, name)              \
  std::string var = ::tidemark::test::SamplePath(name); \
  if (var.empty()) GTEST_SKIP() << "sample " << (name) << " not found (../shared/samples absent)"
