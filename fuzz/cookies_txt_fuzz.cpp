// An older Firefox profile's Cookies.txt over arbitrary bytes: parsed into
// its header block and cookie lines, written back, sorted for the purge's
// walk. Besides the sanitizers' checks, every run checks what the cookie
// purge relies on.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_require.h"
#include "firefox/firefox_cookies.h"
#include "platform/text_lines.h"

namespace {

using tidemark::firefox::CookieHost;
using tidemark::firefox::CookieList;
using tidemark::firefox::CookiesTxt;

std::vector<std::string> Lines(const CookieList& list) {
  std::vector<std::string> lines;
  for (const auto& cookie : list) lines.push_back(cookie.line);
  return lines;
}

void Check(std::string_view text) {
  CookiesTxt file = tidemark::firefox::ParseCookiesTxt(text);
  std::vector<std::string> lines = tidemark::platform::SplitLines(text);
  Require(file.header.size() + file.cookies.size() == lines.size(), "every line is kept");
  Require(lines.empty() || !file.cookies.empty(), "the last line is never header");
  for (const std::string& line : file.header)
    Require(line.empty() || (line[0] == '#' && line.rfind("#HttpOnly_", 0) != 0), "header lines are comments");

  // Writing back and reading again gives the same file.
  CookiesTxt again = tidemark::firefox::ParseCookiesTxt(tidemark::firefox::FormatCookiesTxt(file));
  Require(again.header == file.header && Lines(again.cookies) == Lines(file.cookies), "written back unchanged");

  // The walk acts once per host: after sorting, each host's lines stand together.
  CookieList sorted = file.cookies;
  tidemark::firefox::SortCookies(sorted);
  std::vector<std::string> before = Lines(file.cookies), after = Lines(sorted);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  Require(before == after, "sorting keeps every line");
  std::set<std::string> seen;
  std::string previous;
  for (const auto& cookie : sorted) {
    std::string host = CookieHost(cookie.line);
    Require(host.find_first_of("\t\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos, "hosts are lower-case fields");
    if (host.empty() || host == previous) continue;
    Require(seen.insert(host).second, "a host's lines stand together");
    previous = host;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
