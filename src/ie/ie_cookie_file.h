// An Internet Explorer cookie text file: nine lines per cookie (name,
// value, host and path, flags, expiry and creation times, "*").
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::ie {

struct IECookieRecord {
  std::string name, value, host;  // host without a trailing "/"
};

// One record for every nine lines (a shorter tail counts with what it has).
std::vector<IECookieRecord> ParseIECookieFile(std::string_view text);

}  // namespace tidemark::ie
