#include "ie/ie_cookie_file.h"

#include "platform/text.h"
#include "platform/text_lines.h"

namespace tidemark::ie {

std::vector<IECookieRecord> ParseIECookieFile(std::string_view text) {
  std::vector<std::string> lines = platform::SplitLines(text);
  std::vector<IECookieRecord> records;
  for (size_t first = 0; first < lines.size(); first += 9) {
    auto line = [&](size_t at) { return first + at < lines.size() ? lines[first + at] : std::string(); };
    std::string host = line(2);
    if (EndsWith(host, "/")) host.pop_back();
    records.push_back({line(0), line(1), std::move(host)});
  }
  return records;
}

}  // namespace tidemark::ie
