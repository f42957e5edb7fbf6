// The settings as read from a file of arbitrary values: every radio group is
// one of its buttons, counts stay in their ranges, and a stored window
// position either parses to one that formats back the same or is ignored.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "fuzz_require.h"
#include "platform/text.h"
#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings/window_positions.h"

namespace {

using namespace tidemark::settings;

// Each key reads as text the input chooses, the same every time it is asked.
class FuzzedIni : public tidemark::platform::IniFile {
 public:
  explicit FuzzedIni(FuzzedDataProvider& input) : IniFile("C:\\Tidemark.ini"), input_(input) {}
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) override {
    auto [at, added] = values_.try_emplace(section + "\n" + key);
    if (added) at->second = input_.ConsumeBool() ? fallback : input_.ConsumeRandomLengthString(24);
    return at->second;
  }
  bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }
  uint32_t LastError() const override { return 5; }

 private:
  FuzzedDataProvider& input_;
  std::map<std::string, std::string> values_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  std::string position = input.ConsumeRandomLengthString(64);
  FuzzedIni ini(input);

  for (OptionSetId id : {OptionSetId::Standard, OptionSetId::PurgeNow, OptionSetId::Startup, OptionSetId::Shutdown}) {
    OptionSet options = LoadOptionSet(ini, id);
    for (int choice : {options.secureErase, options.compactSql, options.reports})
      Require(choice == 0 || choice == 1, "a two-button group reads as one of its buttons");
    DisplayOptions display = LoadDisplayOptions(ini, id);
    Require(static_cast<int>(display.splash) >= 0 && static_cast<int>(display.splash) <= 1, "splash option");
    Require(static_cast<int>(display.mainWindow) >= 0 && static_cast<int>(display.mainWindow) <= 3, "window option");
  }
  ShredSettings shred = LoadShredSettings(ini);
  Require(shred.repeats >= kMinRepeats && shred.repeats <= kMaxRepeats, "repeats stay within 1..99");
  TempFolderSettings temp = LoadTempFolderSettings(ini);
  Require(temp.ageHours >= 0, "hours are never negative");
  Require(tidemark::ParseInteger(temp.ageHoursText) == temp.ageHours, "the hours shown are the hours used");
  int shutType = static_cast<int>(LoadShutType(ini));
  Require(shutType >= 0 && shutType <= 5, "a power action of the list");

  if (auto stored = ParsePosition(position)) {
    Require(stored->state == WindowState::Maximised || (stored->height > 0 && stored->width > 0), "a positive size");
    Require(ParsePosition(FormatPosition(*stored)) == stored, "a position formats back to itself");
  }
  WindowPlacement placement = RestorePlacement(position, false, 96, {0, 0, 1024, 768});
  if (placement.kind == PlacementKind::Normal)
    Require(placement.top >= 0 && placement.left >= 0 && placement.top <= 768 && placement.left <= 1024,
            "a restored window's caption stays on the screen");
  return 0;
}
