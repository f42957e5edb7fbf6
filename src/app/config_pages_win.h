// The five pages of the "   Configure   " tab: the desktop shortcuts, shred
// settings, fonts and the themes switch ("  General  "), the display options of the three unattended runs
// with the startup entry and the power action, and the temp-folder choices. Each page's
// "Apply Changes" writes only that page's keys.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "platform/gui_win.h"
#include "settings/settings_state.h"

namespace tidemark::app {

// In the order of the inner tabs.
enum class ConfigPage { General = 0, PurgeNow = 1, Startup = 2, Shutdown = 3, TempFolders = 4 };
inline constexpr int kConfigPageCount = 5;
inline constexpr int kTempFolderCount = 4;  // System, Windows, Old, BootDisk

// Radio buttons of one group, first to last, and the box around them.
struct RadioButtons {
  HWND box = nullptr;
  std::vector<HWND> buttons;
  int Index() const;  // -1 when none is checked
  void SetIndex(int index) const;
};

class ConfigurePages {
 public:
  struct GeneralControls {
    std::array<HWND, 3> shortcutButtons{}, shortcutIcons{};  // "Tidemark", "Tidemark Now", "Tidemark && Shutdown"
    HWND selectPlugins = nullptr;
    HWND pluginManagerLabel = nullptr, pluginManager = nullptr;  // only when PlugMgr.exe exists
    HWND themes = nullptr;                                       // "Support XP Themes?"
    HWND selectFonts = nullptr;
    RadioButtons shred;  // quick, thorough, both
    HWND repeatsEdit = nullptr, repeatsSpin = nullptr;
    HWND apply = nullptr;
  };
  struct DisplayControls {  // one unattended run
    RadioButtons splash, mainWindow;
    HWND apply = nullptr;
  };
  struct TempControls {
    std::array<HWND, kTempFolderCount> panels{}, checks{}, labels{};
    HWND ageCheck = nullptr, ageHoursEdit = nullptr;
    HWND apply = nullptr;
  };

  // Creates the controls of all pages on the form inside `page` (form client
  // coordinates), all hidden, and loads them (Load). Call before the tab
  // control is sent below its pages.
  void Create(gui::Window& form, const RECT& page, int ppi, AppContext& context,
              std::function<void(HWND, const char*)> addHint);
  // Reads the pages from the settings file and the themes switch from
  // context.themeState (Create does so too; call again once the settings
  // file has been seeded).
  void Load();
  // Shows the controls of one page (a ConfigPage index) and hides the rest;
  // any other value hides them all.
  void Show(int page);
  // The temp-folder panels follow the main window's outer width.
  void Layout(int windowWidth);
  // The located folder or its error text beside a temp-folder check box.
  void SetTempFolderLabel(int index, const std::string& text);

  // The "Apply Changes" buttons; false when something could not be written
  // (onApplyFailed has then been told).
  bool ApplyGeneral();
  bool ApplyPurgeNow();
  bool ApplyStartup();
  bool ApplyShutdown();
  bool ApplyTempFolders();
  // A shortcut button (0..2): writes its link to the desktop.
  void GenerateDesktopShortcut(size_t index);

  // The temp-folder settings changed: locate the folders again.
  std::function<void()> onTempFoldersApplied;
  // "Select Plugins  ", "Plugin Manager" and "Select Fonts".
  std::function<void()> onSelectPlugins, onPluginManager, onSelectFonts;
  // A message box for the user (the startup entry's registry failure).
  std::function<void(const std::string& caption, const std::string& text)> onMessage;
  // A write failed; the text names what was lost.
  std::function<void(const std::string& text)> onApplyFailed;

  const GeneralControls& general() const { return general_; }
  const DisplayControls& purgeNow() const { return purgeNow_; }
  const DisplayControls& startup() const { return startup_; }
  HWND startupEntry() const { return startupEntry_; }  // "Execute Tidemark at System Startup"
  const DisplayControls& shutdown() const { return shutdown_; }
  const RadioButtons& shutdownOptions() const { return shutdownOptions_; }
  const TempControls& temp() const { return temp_; }
  const std::vector<HWND>& PageControls(ConfigPage page) const { return pages_[static_cast<size_t>(page)]; }

 private:
  HWND Add(ConfigPage page, const char* className, const char* text, DWORD style, int x, int y, int width,
           int height);
  HWND AddButton(ConfigPage page, const char* text, int x, int y, int width, int height,
                 std::function<void()> onClick = nullptr);
  // addInside creates further controls inside the box.
  RadioButtons AddGroup(ConfigPage page, const char* caption, const std::vector<const char*>& captions, int x, int y,
                        int width, const std::function<void()>& addInside = nullptr);
  // label: the line above the groups, or none.
  DisplayControls AddDisplayPage(ConfigPage page, const char* label, std::function<void()> apply);
  void CreateGeneral(const std::function<void(HWND, const char*)>& addHint);
  void CreateTempFolders();
  bool ThemesAvailable() const;
  void ShowTempFolders(const settings::TempFolderSettings& temp);
  void ShowRepeats(int repeats);
  void EnableGeneralApply();
  void Failed(const std::string& what);
  int S(int pixels96) const { return gui::Scale(pixels96, ppi_); }

  gui::Window* form_ = nullptr;
  AppContext* context_ = nullptr;
  RECT page_{};
  int ppi_ = 96;
  std::array<std::vector<HWND>, kConfigPageCount> pages_;
  GeneralControls general_;
  DisplayControls purgeNow_, startup_, shutdown_;
  HWND startupEntry_ = nullptr;
  RadioButtons shutdownOptions_;
  TempControls temp_;
  char shredMode_ = settings::kQuickShred;  // kept when the file names a kind without a button
  std::string repeatsShown_;                // the Repeats text last loaded or applied
};

}  // namespace tidemark::app
