// In-memory copies of the settings that other parts of the program read.
// The defaults are those of an empty settings file.
#pragma once
#include <string>

namespace tidemark::settings {

// Display options of an unattended run (radio-group indexes).
enum class SplashOption { Enable = 0, Disable = 1 };
enum class MainWindowOption { Enable = 0, EnableOnAnyError = 1, EnableOnSevereError = 2, Disable = 3 };
struct DisplayOptions {
  SplashOption splash = SplashOption::Enable;
  MainWindowOption mainWindow = MainWindowOption::Enable;
  bool operator==(const DisplayOptions&) const = default;
};

// Power action after a shutdown run (index of "Shutdown Options").
enum class ShutType { Logoff = 0, Reboot = 1, Shutdown = 2, Poweroff = 3, StandBy = 4, Hibernate = 5 };

// Shred kinds as stored (first character of Thoroughness).
constexpr char kQuickShred = '0';
constexpr char kThoroughShred = '1';
constexpr char kBothShreds = '2';
constexpr int kMinRepeats = 1;
constexpr int kMaxRepeats = 99;

struct ShredSettings {
  // '0', '1' or '2'; any other character (from a hand-edited file) selects
  // no shred radio button.
  char shredMode = kQuickShred;
  int repeats = 1;  // passes of the thorough shred, 1..99
  bool operator==(const ShredSettings&) const = default;
};

struct TempFolderSettings {
  // Check boxes of the "Temp Folders" configuration tab.
  bool systemTemp = true;  // checked when the file names no folder at all
  bool windowsTemp = false;
  bool oldTemp = false;
  bool bootDiskTemp = false;
  bool ageFilterOn = true;         // "Ignore files in Temp Folders modified in the last"
  std::string ageHoursText = "8";  // the edit's text
  int ageHours = 8;                // its number; 0 when the text is not a number
  bool operator==(const TempFolderSettings&) const = default;
};

struct ShowOptions {
  std::string cookieMsgOpt = "N";
  std::string ffCookieMsgOpt = "N";
  std::string quickStartOpt = "S";
  bool ShowQuickStart() const { return quickStartOpt == "S"; }
  bool operator==(const ShowOptions&) const = default;
};

// Font style bits.
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontUnderline = 4;
constexpr int kFontStrikeOut = 8;

struct FontSetting {
  std::string name;
  int size = 0;   // points
  int style = 0;  // kFont... bits
  bool operator==(const FontSetting&) const = default;
};

struct FontSettings {
  FontSetting results{"Courier New", 9, 0};        // "Main0": the results list
  FontSetting cookieLists{"MS Sans Serif", 10, 0};  // "Prot1": the cookie manager's lists
  bool operator==(const FontSettings&) const = default;
};

struct SettingsState {
  ShredSettings shred;
  TempFolderSettings temp;
  ShutType shutType = ShutType::Logoff;
  DisplayOptions runModeDisplay;  // of the current run mode (both Enable when interactive)
  ShowOptions show;
  FontSettings fonts;
};

}  // namespace tidemark::settings
