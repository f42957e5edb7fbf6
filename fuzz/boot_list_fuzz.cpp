// The reboot program's inputs from arbitrary text: its command line and the
// boot list. A list is taken only with "Tidemark" as its first line, and a
// path it may act on is always a plain full path below the profile folder.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_require.h"
#include "platform/text.h"
#include "schedule/boot_list.h"

namespace {

constexpr std::string_view kProfile = "C:\\Users\\Ann";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace tidemark;

  std::string argument = schedule::BootListArgument(text);
  Require(argument.size() <= text.size(), "the argument is a part of the command line");
  Require(argument.empty() || text.find(argument) != std::string_view::npos, "the argument is taken as it stands");

  auto entries = schedule::ParseBootList(text);
  Require(entries.has_value() == (StartsWith(text, "Tidemark\r") || StartsWith(text, "Tidemark\n") || text == "Tidemark"),
          "only a list that begins with the line Tidemark is taken");
  if (!entries) return 0;
  for (const std::string& entry : *entries) {
    Require(entry.find_first_of("\r\n") == std::string::npos, "entries are single lines");
    if (!schedule::IsBelowFolder(entry, kProfile)) continue;
    Require(StartsWithNoCase(entry, std::string(kProfile) + "\\") && entry.size() > kProfile.size() + 1,
            "an accepted path lies below the profile folder");
    for (const std::string& step : Split(entry, '\\'))
      Require(!step.empty() && step != "." && step != "..", "an accepted path has no empty or relative step");
  }
  return 0;
}
