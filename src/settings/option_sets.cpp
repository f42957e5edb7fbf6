#include "settings/option_sets.h"

#include <optional>

#include "settings/ini_values.h"

namespace tidemark::settings {
namespace {

// One key of an option set: a check box (function) or a radio group (index).
struct OptionKey {
  const char* key;
  std::optional<PurgeFunctionId> function;
  int OptionSet::*radioIndex = nullptr;
};

// Stored files list the keys in this order.
const OptionKey kOptionKeys[] = {
    {"CacheOption", PurgeFunctionId::FirefoxCache},
    {"CookiesOption", PurgeFunctionId::FirefoxCookies},
    {"HistoryOption", PurgeFunctionId::FirefoxHistory},
    {"FFtypedURLs", PurgeFunctionId::FirefoxTypedUrls},
    {"FormsOption", PurgeFunctionId::FirefoxForms},
    {"TempOption", PurgeFunctionId::TempFolders},
    {"VisitedOption", PurgeFunctionId::IEVisited},
    {"RecentLNKsOption", PurgeFunctionId::RecentLinks},
    {"RecycleBinOption", PurgeFunctionId::RecycleBin},
    {"ClipBoardOption", PurgeFunctionId::Clipboard},
    {"PluginsOption", PurgeFunctionId::Plugins},
    {"SecureDeleteOption", std::nullopt, &OptionSet::secureErase},
    {"CompactSqlOption", std::nullopt, &OptionSet::compactSql},
    {"ReportOpt", std::nullopt, &OptionSet::reports},
    {"IECacheOption", PurgeFunctionId::IECache},
    {"IECookiesOption", PurgeFunctionId::IECookies},
    {"IEHistoryOption", PurgeFunctionId::IEHistory},
    {"IEUserDataOption", PurgeFunctionId::IEUserData},
    {"IESearchesOption", PurgeFunctionId::IESearches},
    {"IETypedURLsOption", PurgeFunctionId::IETypedUrls},
    {"IEStraysOption", PurgeFunctionId::IEStrays},
    {"IEDOMstoreOption", PurgeFunctionId::IEDomStore},
    {"ChromiumCacheOption", PurgeFunctionId::ChromiumCache},
    {"ChromiumCookiesOption", PurgeFunctionId::ChromiumCookies},
    {"ChromiumHistoryOption", PurgeFunctionId::ChromiumHistory},
    {"ChromiumTypedURLs", PurgeFunctionId::ChromiumTypedUrls},
    {"ChromiumFormsOption", PurgeFunctionId::ChromiumForms},
};

// Each of the three radio groups has two buttons.
constexpr int kLastRadioIndex = 1;

constexpr const char* kSplashOpt = "SplashOpt";
constexpr const char* kMainWinOpt = "MainWinOpt";
constexpr const char* kShutType = "ShutType";

}  // namespace

const char* OptionSetSection(OptionSetId id) {
  switch (id) {
    case OptionSetId::Standard: return "StndOptions";
    case OptionSetId::PurgeNow: return "PnowOptions";
    case OptionSetId::Startup: return "BootOptions";
    case OptionSetId::Shutdown: return "ShutOptions";
  }
  return "StndOptions";
}

OptionSet LoadOptionSet(IniFile& ini, OptionSetId id) {
  const std::string section = OptionSetSection(id);
  OptionSet options;
  for (const OptionKey& entry : kOptionKeys) {
    if (entry.function)
      options[*entry.function] = ReadBool(ini, section, entry.key, false);
    else
      options.*entry.radioIndex = ReadChoice(ini, section, entry.key, kLastRadioIndex);
  }
  return options;
}

bool SaveOptionSet(IniFile& ini, OptionSetId id, const OptionSet& options) {
  const std::string section = OptionSetSection(id);
  bool allWritten = true;
  for (const OptionKey& entry : kOptionKeys) {
    bool written = entry.function ? WriteBool(ini, section, entry.key, options[*entry.function])
                                  : WriteInteger(ini, section, entry.key, options.*entry.radioIndex);
    allWritten = written && allWritten;
  }
  return allWritten;
}

DisplayOptions LoadDisplayOptions(IniFile& ini, OptionSetId id) {
  if (id == OptionSetId::Standard) return {};
  const std::string section = OptionSetSection(id);
  return {static_cast<SplashOption>(ReadChoice(ini, section, kSplashOpt, static_cast<int>(SplashOption::Disable))),
          static_cast<MainWindowOption>(
              ReadChoice(ini, section, kMainWinOpt, static_cast<int>(MainWindowOption::Disable)))};
}

bool SaveDisplayOptions(IniFile& ini, OptionSetId id, const DisplayOptions& options) {
  const std::string section = OptionSetSection(id);
  bool splashWritten = WriteInteger(ini, section, kSplashOpt, static_cast<int>(options.splash));
  return WriteInteger(ini, section, kMainWinOpt, static_cast<int>(options.mainWindow)) && splashWritten;
}

ShutType LoadShutType(IniFile& ini) {
  return static_cast<ShutType>(
      ReadChoice(ini, OptionSetSection(OptionSetId::Shutdown), kShutType, static_cast<int>(ShutType::Hibernate)));
}

bool SaveShutType(IniFile& ini, ShutType type) {
  return WriteInteger(ini, OptionSetSection(OptionSetId::Shutdown), kShutType, static_cast<int>(type));
}

}  // namespace tidemark::settings
