// Scrambling of cookie values for "Random" protect entries: each letter moves
// within its half of the alphabet, each digit within its half of 0..9, so the
// value keeps its length, letter case and punctuation but loses its meaning.
#pragma once
#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

#include "platform/files.h"

namespace tidemark::cookies {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A uniformly drawn integer in 0..maximum.
  virtual int Next(int maximum) = 0;
};

// The program's generator, seeded once.
class SeededRandom : public RandomSource {
 public:
  explicit SeededRandom(uint32_t seed) : engine_(seed) {}
  static SeededRandom FromClock();
  int Next(int maximum) override;

 private:
  std::mt19937 engine_;
};

// Scrambles characters first..last (1-based, inclusive; clipped to the text).
void ScrambleValue(std::string& text, size_t first, size_t last, RandomSource& random);
// Scrambles field 7 (the value) of a TAB-separated cookie line.
void ScrambleCookieLine(std::string& line, RandomSource& random);
// Scrambles the value line (the second of each nine-line record) of an
// Internet Explorer cookie text file, keeping its line breaks. The scrambled
// copy replaces the file only once it is completely written, so a failure
// leaves the cookie as it was. False when the file cannot be read or
// replaced; error (when given) then holds the Windows code.
bool ScrambleIECookieFile(platform::FileSystem& files, const std::string& path, RandomSource& random,
                          uint32_t* error = nullptr);

}  // namespace tidemark::cookies
