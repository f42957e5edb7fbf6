#include "locations/folders_listing.h"

#include "platform/text.h"

namespace tidemark::locations {
namespace {

constexpr size_t kMaxTempFolders = 4;
constexpr size_t kNameWidth = 19;  // of the temp folders' and the browsers' names

std::string DomStoreText(const std::string& folder) {
  return Trim(folder).empty() ? "  ..folder not found.." : UpperCase(folder);
}

std::string RightAligned(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// Each browser's User Data, then each profile; the caches' folders where
// they lie apart (Opera's).
void ListChromiumBrowsers(std::vector<std::string>& lines, const std::vector<ChromiumBrowser>& chromium) {
  if (chromium.empty()) lines.push_back("   Chromium Browser - " + std::string(kFolderNotFoundText));
  for (const ChromiumBrowser& browser : chromium) {
    lines.push_back(RightAligned(browser.name, kNameWidth) + " - " + browser.userData);
    if (browser.localUserData != browser.userData) lines.push_back("    Local User Data - " + browser.localUserData);
    for (const ChromiumProfile& profile : browser.profiles) {
      lines.push_back("       Profile Path - " + profile.folder);
      if (profile.cacheFolder != profile.folder) lines.push_back("       Cache Folder - " + profile.cacheFolder);
    }
  }
}

}  // namespace

std::vector<std::string> FoldersAndFilesListing(const IELocations& ie, const FirefoxLocations& firefox,
                                                const std::vector<ChromiumBrowser>& chromium,
                                                const ListingInputs& inputs) {
  std::vector<std::string> lines = {"Following are the Files and Folders:", ""};
  lines.push_back("  FireFox Data Path - " + firefox.FirefoxProfileFolder);
  if (firefox.FirefoxSqliteFormat) {
    lines.push_back("        Cookie File - " + firefox.CookiesSqliteFile);
    lines.push_back("       History File - " + firefox.PlacesFile);
    lines.push_back("  Form History File - " + firefox.FormHistorySqliteFile);
  } else {
    lines.push_back("        Cookie File - " + firefox.CookiesTxtFile);
    lines.push_back("       History File - " + firefox.HistoryDatFile);
    lines.push_back("  Form History File - " + firefox.FormHistoryDatFile);
  }
  // The profile's own cache folder is the old (Firefox 1.0) place; the current
  // one lies under Local Application Data.
  if (firefox.FirefoxCacheFolder != kFolderNotFoundText && firefox.FirefoxLocalCacheFolder == kFolderNotFoundText)
    lines.push_back("        Cache [1.0] - " + firefox.FirefoxCacheFolder);
  lines.push_back("       Cache Folder - " + firefox.FirefoxLocalCacheFolder);

  lines.push_back(" ");
  ListChromiumBrowsers(lines, chromium);

  lines.push_back(" ");
  lines.push_back("    IE Visited URLs - " + ie.IEHistoryIndexFile);
  lines.push_back("    IE Cache Folder - " + ie.IECacheFolder);
  lines.push_back("  IE Cookies Folder - " + ie.IECookiesFolder);
  lines.push_back("  IE History Folder - " + ie.IEHistoryFolder);
  if (ie.DomStoreFound) lines.push_back("   DOM Store Folder - " + DomStoreText(ie.DomStoreFolder));
  if (inputs.tisVista) {
    if (!ie.LowCacheFolder.empty()) lines.push_back("  IE Cache Pro-Mode - " + UpperCase(ie.LowCacheFolder));
    if (!ie.LowCookiesFolder.empty()) lines.push_back("IE Cookies Pro-Mode - " + UpperCase(ie.LowCookiesFolder));
    if (!ie.LowHistoryFolder.empty()) lines.push_back("IE History Pro-Mode - " + UpperCase(ie.LowHistoryFolder));
    if (ie.LowDomStoreFound) lines.push_back(" DOM Store Pro-Mode - " + DomStoreText(ie.LowDomStoreFolder));
  }
  lines.push_back(" Recent LNKs Folder - " + ie.RecentFolder);
  if (ie.IEUserDataFound && !ie.IEUserDataFolder.empty())
    lines.push_back(" IE UserData Folder - " + ie.IEUserDataFolder);

  for (size_t i = 0; i < inputs.tempFolders.size() && i < kMaxTempFolders; ++i)
    lines.push_back(RightAligned(inputs.tempFolders[i].displayName, kNameWidth) + ":  " + inputs.tempFolders[i].path);

  std::string programFolder = UpperCase(inputs.programFolder);
  lines.push_back(" ");
  lines.push_back("");
  lines.push_back(" Tidemark Exec Path - " + programFolder);
  lines.push_back(" Tidemark Data Path - " + inputs.dataFolder);
  if (inputs.ffdatExe) lines.push_back("Alternate Data Path - " + programFolder);
  lines.push_back("       Plugins Path - " + programFolder + "\\Plugins");
  return lines;
}

}  // namespace tidemark::locations
