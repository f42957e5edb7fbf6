// The purge functions and one option set (the state of one option
// frame: which functions run, and the three radio groups).
#pragma once
#include <array>
#include <cstddef>

namespace tidemark::settings {

// In the order the driver runs them.
enum class PurgeFunctionId {
  FirefoxCache,
  FirefoxCookies,
  FirefoxTypedUrls,
  FirefoxHistory,
  FirefoxForms,
  ChromiumCache,
  ChromiumCookies,
  ChromiumTypedUrls,
  ChromiumHistory,
  ChromiumForms,
  TempFolders,
  IEVisited,
  IECache,
  IECookies,
  IEHistory,
  IEUserData,
  IEDomStore,
  IESearches,
  IETypedUrls,
  IEStrays,
  RecentLinks,
  RecycleBin,
  Clipboard,
  Plugins,
};
constexpr size_t kPurgeFunctionCount = 24;

constexpr size_t Index(PurgeFunctionId id) { return static_cast<size_t>(id); }

struct OptionSet {
  std::array<bool, kPurgeFunctionCount> selected{};
  int secureErase = 0;  // 0 "No", 1 "Yes"
  int compactSql = 0;   // 0 "No", 1 "Yes"
  int reports = 0;      // 0 "Detail", 1 "Summary"

  bool& operator[](PurgeFunctionId id) { return selected[Index(id)]; }
  bool operator[](PurgeFunctionId id) const { return selected[Index(id)]; }
  bool operator==(const OptionSet&) const = default;
};

}  // namespace tidemark::settings
