// profiles.ini and the Prefs.js cache preference from arbitrary text: the
// default profile is a profile section of the list, and a cache preference is
// only ever a full path.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_require.h"
#include "locations/firefox_locations.h"

namespace {

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  using namespace tidemark::locations;

  ProfileList list = ParseProfilesIni(text);
  Require(list.defaultIndex >= -1 && list.defaultIndex < static_cast<int>(list.entries.size()),
          "the default is an entry or none");
  if (list.defaultIndex >= 0) Require(list.entries[size_t(list.defaultIndex)].isProfile, "the default is a profile");
  bool anyProfile = false;
  for (const ProfileEntry& entry : list.entries) anyProfile |= entry.isProfile;
  Require(anyProfile == (list.defaultIndex >= 0), "a profile section gives a default");

  if (auto folder = CacheParentDirectoryPreference(text)) {
    const std::string& path = *folder;
    bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\';
    bool unc = path.size() >= 5 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
    Require(drive || unc, "the cache preference is a full path");
    Require(path.find("\\\\", 1) == std::string::npos, "no doubled backslash after a network path's start");
  }
  return 0;
}
