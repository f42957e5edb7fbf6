#include "app/themes.h"

namespace tidemark::app {

ThemeState ReadThemeState(platform::FileSystem& files, const std::string& programFile, bool windowsNT) {
  if (!windowsNT) return kThemesUnavailable;
  if (files.FileExists(programFile + kThemedManifestSuffix)) return kThemesOn;
  if (files.FileExists(programFile + kParkedManifestSuffix)) return kThemesOff;
  return kThemesUnavailable;
}

ThemeState ThemeStateOfCheckBox(bool shown, bool checked) {
  if (!shown) return kThemesUnavailable;
  return checked ? kThemesOn : kThemesOff;
}

bool ApplyThemeState(platform::FileSystem& files, const std::string& programFile, ThemeState current,
                     ThemeState wanted) {
  if (wanted == current || wanted == kThemesUnavailable || current == kThemesUnavailable) return true;
  const std::string themed = programFile + kThemedManifestSuffix;
  const std::string parked = programFile + kParkedManifestSuffix;
  // The rename replaces a stale copy under the target name in one step, so
  // a failure leaves the current manifest where it was.
  return wanted == kThemesOff ? files.RenameFile(themed, parked) : files.RenameFile(parked, themed);
}

}  // namespace tidemark::app
