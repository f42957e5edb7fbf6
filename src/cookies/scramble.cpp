#include "cookies/scramble.h"

#include <chrono>

#include "platform/text_lines.h"

namespace tidemark::cookies {
namespace {

constexpr int kLetterSpread = 12;
constexpr int kDigitSpread = 4;

char Shifted(char c, int by) { return static_cast<char>(c + by); }

char ScrambledChar(char c, RandomSource& random) {
  if ((c >= 'A' && c <= 'M') || (c >= 'a' && c <= 'm')) return Shifted(c, random.Next(kLetterSpread));
  if ((c >= 'N' && c <= 'Z') || (c >= 'n' && c <= 'z')) return Shifted(c, -random.Next(kLetterSpread));
  if (c >= '0' && c <= '4') return Shifted(c, random.Next(kDigitSpread));
  if (c >= '5' && c <= '9') return Shifted(c, -random.Next(kDigitSpread));
  return c;
}

constexpr size_t kValueField = 7;
constexpr size_t kIERecordLines = 9;

}  // namespace

SeededRandom SeededRandom::FromClock() {
  auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
  return SeededRandom(static_cast<uint32_t>(ticks ^ (ticks >> 32)));
}

int SeededRandom::Next(int maximum) { return std::uniform_int_distribution<int>(0, maximum)(engine_); }

void ScrambleValue(std::string& text, size_t first, size_t last, RandomSource& random) {
  if (first < 1) first = 1;
  if (last > text.size()) last = text.size();
  for (size_t i = first; i <= last; ++i) text[i - 1] = ScrambledChar(text[i - 1], random);
}

void ScrambleCookieLine(std::string& line, RandomSource& random) {
  size_t start = 0;
  for (size_t field = 1; field < kValueField; ++field) {
    start = line.find('\t', start);
    if (start == std::string::npos) return;
    ++start;
  }
  size_t end = line.find('\t', start);
  if (end == std::string::npos) end = line.size();
  ScrambleValue(line, start + 1, end, random);
}

bool ScrambleIECookieFile(platform::FileSystem& files, const std::string& path, RandomSource& random,
                          uint32_t* error) {
  auto content = files.ReadFile(path);
  if (!content) {
    if (error) *error = files.LastError();
    return false;
  }
  std::vector<platform::LineSpan> lines = platform::SplitLineSpans(*content);
  for (size_t i = 1; i + 1 < lines.size(); i += kIERecordLines)
    ScrambleValue(*content, lines[i].start + 1, lines[i].start + lines[i].length, random);
  std::string scrambled = path + ".new";
  if (files.WriteFile(scrambled, *content) && files.RenameFile(scrambled, path)) return true;
  if (error) *error = files.LastError();
  files.RemoveFile(scrambled);
  return false;
}

}  // namespace tidemark::cookies
