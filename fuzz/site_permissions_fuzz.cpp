// The permission stores' outside data over arbitrary bytes: hostperm.1
// parsed and written back, IE cookie files split into records, and IE
// cookie addresses turned into the domain their permission key is named by.
// Besides the sanitizers' checks, every run checks what the cookie manager
// relies on.
#include <string>
#include <string_view>

#include "fuzz_require.h"
#include "firefox/site_permissions.h"
#include "ie/ie_cookie_file.h"
#include "ie/ie_permissions.h"
#include "platform/text_lines.h"

namespace {

void Check(std::string_view text) {
  using tidemark::firefox::HostpermFile;
  HostpermFile file = tidemark::firefox::ParseHostperm(text);
  for (const HostpermFile::Record& record : file.records) {
    Require(record.fieldCount >= 1 && record.fieldCount <= 4, "one to four fields");
    for (int i = 0; i < record.fieldCount; ++i)
      Require(record.fields[static_cast<size_t>(i)].find_first_of("\r\nABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos,
              "fields are lower-case and hold no line break");
  }
  // Written back and read again: the same records (and a header, if there was
  // none). A file is written only after a change, so it holds a record; with
  // none, the header written in its place would read back as one.
  if (!file.records.empty()) {
    HostpermFile again = tidemark::firefox::ParseHostperm(tidemark::firefox::FormatHostperm(file));
    Require(again.records.size() == file.records.size(), "every record is written back");
    for (size_t i = 0; i < file.records.size(); ++i)
      Require(again.records[i].fields == file.records[i].fields, "records are written back unchanged");
  }

  size_t lines = tidemark::platform::SplitLines(text).size();
  Require(tidemark::ie::ParseIECookieFile(text).size() == (lines + 8) / 9, "one record per nine lines begun");

  if (auto domain = tidemark::ie::IEPermissionDomain(text)) {
    Require(!domain->empty(), "a domain has a name");
    Require(domain->find_first_of("\\/?#@:\r\n\t ") == std::string::npos, "a domain is one registry key name");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Check(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
