// The text of the main window's "Display Folders && Files " listing.
#pragma once
#include <string>
#include <vector>

#include "locations/chromium_locations.h"
#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"

namespace tidemark::locations {

struct TempFolderEntry {
  std::string displayName;  // e.g. "System Temp"
  std::string path;         // the located folder or its error text
};

// What the listing shows besides the located browser data.
struct ListingInputs {
  std::vector<TempFolderEntry> tempFolders;  // at most the first 4 are listed
  std::string programFolder;
  std::string dataFolder;
  bool ffdatExe = false;  // the "FFdatExe" run switch
  bool tisVista = false;
};

// The listing's lines, in order. Call EnsureFirefoxLocations first so that
// missing Firefox items show their report texts.
std::vector<std::string> FoldersAndFilesListing(const IELocations& ie, const FirefoxLocations& firefox,
                                                const std::vector<ChromiumBrowser>& chromium,
                                                const ListingInputs& inputs);

}  // namespace tidemark::locations
