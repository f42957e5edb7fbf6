#include "settings/window_settings.h"

#include <cstdint>

#include "platform/text.h"
#include "settings/ini_values.h"

namespace tidemark::settings {
namespace {

constexpr const char* kPositions = "Positions";
constexpr const char* kShowOption = "ShowOption";
constexpr const char* kFonts = "Fonts";
constexpr const char* kResultsFont = "Main0";
constexpr const char* kCookieListsFont = "Prot1";

constexpr const char* kList1ColumnKeys[] = {"Lv1C0", "Lv1C1", "Lv1C2", "Lv1C3"};
constexpr const char* kList2ColumnKeys[] = {"Lv2C0", "Lv2C1", "Lv2C2"};
constexpr const char* kList2HeightKey = "LV2Ht";

struct ShowOptionKey {
  const char* key;
  std::string ShowOptions::*value;
};
const ShowOptionKey kShowOptionKeys[] = {
    {"CookieMsgOpt", &ShowOptions::cookieMsgOpt},
    {"FFcookieMsgOpt", &ShowOptions::ffCookieMsgOpt},
    {"QuickStartOpt", &ShowOptions::quickStartOpt},
};

// A stored size, applied only when it is a number that is not negative.
void RestoreSize(IniFile& ini, const char* key, int& size) {
  auto value = ParseInteger(ini.ReadString(kPositions, key, ""));
  if (value && *value >= 0 && *value <= INT32_MAX) size = static_cast<int>(*value);
}

bool SaveFont(IniFile& ini, const std::string& prefix, const FontSetting& font) {
  bool written = ini.WriteString(kFonts, prefix + "Name", font.name);
  written = WriteInteger(ini, kFonts, prefix + "Size", font.size) && written;
  return WriteInteger(ini, kFonts, prefix + "Style", font.style) && written;
}

// A stored font replaces the current one only when it names a font and a size.
void RestoreFont(IniFile& ini, const std::string& prefix, const FontSetting& fallback, FontSetting& font) {
  FontSetting stored{ini.ReadString(kFonts, prefix + "Name", fallback.name),
                     ReadInteger(ini, kFonts, prefix + "Size", fallback.size),
                     ReadInteger(ini, kFonts, prefix + "Style", fallback.style)};
  if (!stored.name.empty() && stored.size != 0) font = stored;
}

}  // namespace

std::optional<WindowPlacement> RestoreWindow(IniFile& ini, const std::string& windowKey, const RestoreContext& context,
                                             DesignedSize designed) {
  if (context.anyPos) return std::nullopt;
  std::string stored = ini.ReadString(kPositions, windowKey, kDefaultPosition);
  return RestorePlacement(stored, context.reset, context.pixelsPerInch, context.virtualScreen, designed);
}

std::optional<WindowPlacement> RestoreMainWindow(IniFile& ini, platform::FileSystem& files,
                                                 const RestoreContext& context, ShowOptions& show,
                                                 FontSettings& fonts) {
  if (context.anyPos) return std::nullopt;
  if (auto attributes = files.Attributes(ini.Path()); attributes && (*attributes & platform::kAttrReadOnly))
    files.SetAttributes(ini.Path(), *attributes & ~platform::kAttrReadOnly);
  auto placement = RestoreWindow(ini, kMainWindowKey, context);
  const ShowOptions defaults;
  for (const ShowOptionKey& entry : kShowOptionKeys)
    show.*entry.value = ini.ReadString(kShowOption, entry.key, defaults.*entry.value);
  RestoreFont(ini, kResultsFont, FontSettings().results, fonts.results);
  return placement;
}

std::optional<WindowPlacement> RestoreCookieWindow(IniFile& ini, const RestoreContext& context, DesignedSize designed,
                                                   FontSettings& fonts, CookieListLayout& layout) {
  if (context.anyPos) return std::nullopt;
  auto placement = RestoreWindow(ini, kCookieWindowKey, context, designed);
  if (context.reset) return placement;
  RestoreFont(ini, kCookieListsFont, FontSettings().cookieLists, fonts.cookieLists);
  for (size_t i = 0; i < layout.list1Columns.size(); ++i) RestoreSize(ini, kList1ColumnKeys[i], layout.list1Columns[i]);
  for (size_t i = 0; i < layout.list2Columns.size(); ++i) RestoreSize(ini, kList2ColumnKeys[i], layout.list2Columns[i]);
  RestoreSize(ini, kList2HeightKey, layout.list2Height);
  return placement;
}

bool SaveWindow(IniFile& ini, const std::string& windowKey, const StoredPosition& position) {
  return ini.WriteString(kPositions, windowKey, FormatPosition(position));
}

bool SaveShowOptions(IniFile& ini, const ShowOptions& show) {
  bool written = true;
  for (const ShowOptionKey& entry : kShowOptionKeys)
    written = ini.WriteString(kShowOption, entry.key, show.*entry.value) && written;
  return written;
}

bool SaveMainWindow(IniFile& ini, const StoredPosition& position, const ShowOptions& show, const FontSettings& fonts) {
  bool written = SaveWindow(ini, kMainWindowKey, position);
  written = SaveShowOptions(ini, show) && written;
  written = SaveFont(ini, kResultsFont, fonts.results) && written;
  return SaveFont(ini, kCookieListsFont, fonts.cookieLists) && written;
}

bool SaveCookieWindow(IniFile& ini, const StoredPosition& position, const CookieListLayout& layout) {
  bool written = SaveWindow(ini, kCookieWindowKey, position);
  for (size_t i = 0; i < layout.list1Columns.size(); ++i)
    written = WriteInteger(ini, kPositions, kList1ColumnKeys[i], layout.list1Columns[i]) && written;
  for (size_t i = 0; i < layout.list2Columns.size(); ++i)
    written = WriteInteger(ini, kPositions, kList2ColumnKeys[i], layout.list2Columns[i]) && written;
  return WriteInteger(ini, kPositions, kList2HeightKey, layout.list2Height) && written;
}

}  // namespace tidemark::settings
