// Scrambling cookie values from arbitrary bytes: lengths, letter cases, digit
// classes and every byte outside the value stay as they were.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "fuzz_require.h"
#include "cookies/scramble.h"
#include "support/memory_files.h"

namespace {

using namespace tidemark::cookies;

class FuzzedRandom : public RandomSource {
 public:
  explicit FuzzedRandom(FuzzedDataProvider& input) : input_(input) {}
  int Next(int maximum) override { return input_.ConsumeIntegralInRange(0, maximum); }

 private:
  FuzzedDataProvider& input_;
};

// Same length; a letter stays a letter of its case, a digit a digit, anything else itself.
bool SameShape(const std::string& before, const std::string& after) {
  if (before.size() != after.size()) return false;
  for (size_t i = 0; i < before.size(); ++i) {
    unsigned char b = before[i], a = after[i];
    if (std::isupper(b) ? !std::isupper(a) : std::islower(b) ? !std::islower(a) : std::isdigit(b) ? !std::isdigit(a) : a != b)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  FuzzedRandom random(input);
  std::string line = input.ConsumeRandomLengthString(400);
  std::string scrambled = line;
  ScrambleCookieLine(scrambled, random);
  Require(SameShape(line, scrambled), "a scrambled line keeps its shape");
  size_t tabs = 0, at = 0;
  for (; at < line.size() && tabs < 6; ++at) tabs += line[at] == '\t';
  size_t valueEnd = line.find('\t', at);
  Require(line.compare(0, at, scrambled, 0, at) == 0, "the fields before the value stay");
  if (valueEnd != std::string::npos) Require(line.substr(valueEnd) == scrambled.substr(valueEnd), "the fields after it stay");

  std::string file = input.ConsumeRandomLengthString(2000);
  tidemark::test::MemoryFileSystem files;
  files.AddFile("C:\\Cookies\\me@site[1].txt", file);
  Require(ScrambleIECookieFile(files, "C:\\Cookies\\me@site[1].txt", random), "a readable cookie file scrambles");
  Require(SameShape(file, files.ReadFile("C:\\Cookies\\me@site[1].txt").value_or("")), "the cookie file keeps its shape");
  return 0;
}
