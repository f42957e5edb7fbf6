// TFFoxForm: the main window. Option tabs with their frames, configuration
// pages, the results list, the purge buttons, progress line, status bar,
// menus and timers.
#pragma once
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/cookie_form_win.h"
#include "app/config_pages_win.h"
#include "app/options_frame_win.h"
#include "app/purge_bodies.h"
#include "engine/results_list_win.h"
#include "engine/driver.h"
#include "help/help_viewer_win.h"
#include "help/quick_start_win.h"
#include "platform/controls_win.h"
#include "platform/gui_win.h"
#include "platform/ini_file.h"
#include "settings/window_settings.h"

namespace tidemark::app {

class WindowPump : public engine::MessagePump {
 public:
  void Pump() override { gui::PumpPendingMessages(); }
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
};

enum class MainTab { Options = 0, Configure = 1, Results = 2 };

class TFFoxForm : public gui::Window, public engine::PurgeProgress {
 public:
  TFFoxForm(AppContext& context, PurgeBodies bodies);
  ~TFFoxForm() override;

  // Creates the window (hidden) and runs its creation-time initialisation.
  void Create(HWND owner);
  // Called by the message loop before dispatching; true when consumed.
  bool PreTranslate(MSG& message);

  // Commands.
  void PurgeBtnClick();
  void PreviewBtnClick();
  void CancelBtnClick();
  void ExitClick();
  // Closes the window as its close handler does (timers, position), whatever runs.
  void Close();
  void BrowserTick();
  void CopyReportToClipboard();
  void DiagnosticClick();
  void DisplayHiddenBrowserWindows();
  void DisplayFoldersAndFiles();
  // "Select Plugins  ": the plugin selection window, modal; "Plugin Manager": PlugMgr.exe.
  void SelectPluginsClick();
  void PluginManagerClick();
  // Help File Contents, F1 and the Help buttons: a topic of the help file.
  void ShowHelp(std::string_view topic);
  // F1's topic: the one of the visible main tab.
  std::string_view ContextTopic() const;
  help::HelpViewer& helpViewer() { return *help_; }
  // "Cookies": the cookie manager, modal, with the browsers' permissions loaded around it.
  void CookiesBtnClick();
  // What the cookie manager works on, around the permissions loaded for it.
  CookieFormContext CookieManagerContext(firefox::FirefoxSitePermissions& firefoxPermissions,
                                         ie::IEPermissions& iePermissions);
  // Tools, "Edit Protect Entries for "Temp" Files": the temp/plugin entry editor.
  void EditTempProtectFileClick();
  // "Select Fonts": the font window, modal.
  void SelectFontsClick();
  // "Quick Start" and the quick-start timer: the quick-start window, created on first use.
  void ShowQuickStart();
  help::TQuickStartForm* quickStart() { return quickStart_.get(); }
  // "Delete I.E. Index.dat files at next Reboot".
  void PurgeIndexAtRebootClick();
  // PLUGINS.DAT as loaded at start and replaced by the selection window.
  const std::vector<std::string>& SelectedPlugins() const { return selectedPlugins_; }
  // Shows the window as its saved state says (normal or maximised).
  void ShowAtStart() { ShowWindow(hwnd(), startMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW); }

  // Called once a purge has ended (results shown): writes "Report=".
  std::function<void()> onPurgeFinished;
  // Called when the power action closing a Shutdown run failed (its message was shown).
  std::function<void()> onPowerActionFailed;

  void SelectMainTab(MainTab tab);
  MainTab CurrentMainTab() const;
  int OptionTabIndex() const;
  void SelectOptionTab(int index);
  void SelectConfigTab(int index);
  TFFoxOptionsFrame1& Frame(int index) { return frames_[static_cast<size_t>(index)]; }
  ConfigurePages& configPages() { return configPages_; }
  engine::Report& report() { return *report_; }
  engine::PurgeDriver& driver() { return *driver_; }
  engine::ResultsList& results() { return results_; }
  const std::string& StatusText(int panel) const { return statusTexts_[static_cast<size_t>(panel)]; }
  const std::string& HintOf(HWND control) const;
  COLORREF StatusColour() const { return statusColour_; }
  gui::ColourPanel& progressLabel() { return progressLabel_; }
  HWND purgeButton() const { return purgeBtn_; }
  HWND cancelButton() const { return cancelBtn_; }
  HWND cookiesButton() const { return cookiesBtn_; }

  // What the purge bodies work with: the Windows operations, the located
  // data, the settings as applied last, the protect list, the shred state.
  engine::PurgeResources Resources();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // engine::PurgeProgress: the progress label, the gauge, the cursor, the
  // Cancel button, the results column and the off-screen hint.
  void StatusText(const std::string& text) override { progressLabel_.SetText(text); }
  void StatusColour(uint32_t bgr) override { progressLabel_.SetFill(bgr); }
  void PurgeStarting() override { HideOffscreenHint(); }
  void PurgeBegun(int selected) override;
  void FunctionDone(int done) override;
  void ReportClosed(bool progressLineIdle) override;
  void PurgeFinished() override;
  // The purge flags of the visible option tab; nothing, noted in the copy
  // memo, when no option tab is selected.
  std::optional<engine::PurgeFlags> VisibleFlags();
  void RecheckBrowserLocations();
  void HideOffscreenHint();
  // Shows the off-screen hint when the list holds more lines than fit.
  void OffscreenHintIfNeeded();
  void ShowCancel(bool shown);
  // The gauge bar widthPixels wide (at 96 ppi), shown.
  void SetGauge(int widthPixels);
  void ShowGauge(bool shown);
  void ShowResults();
  void CreateControls();
  void CreateMenu();
  void InitialiseAtCreation();
  // Validates the temp folders and shows them on the Temp Folders page.
  void InitTempFolders();
  // How the windows' saved places are read ("ANYPOS", "RESET", the screen).
  settings::RestoreContext WindowRestoreContext() const;
  void RestorePosition(platform::IniFile& ini);
  void SavePosition();
  // A setting that could not be written: the text names what was lost.
  void ShowWriteFailure(const std::string& text);
  void Layout();
  void AddHint(HWND control, const std::string& hint);
  void SetStatus(int panel, const std::string& text);
  void SetStatusColour(COLORREF colour);
  void ShowPage();
  // A Chromium function is checked on the visible option frame.
  bool ChromiumOptionChecked() const;
  void ColourFrame(bool ieActive, bool firefoxActive, bool chromiumActive);
  std::string OptionSetName() const;
  // Work outside a purge (plugins, the cookie manager) shreds as the Standard options say.
  void TakeStandardFlags();

  AppContext& context_;
  PurgeBodies bodies_;
  int ppi_ = 96;
  gui::ColourPanel topPanel_, secondPanel_, progressLabel_, gaugePanel_, gaugeBar_, hintPanel_, separator_;
  // Plain backgrounds over the tab controls' bodies, so every page is the
  // colour of its controls whatever the visual style.
  gui::ColourPanel pageBack_, innerPageBack_;
  WindowPump pump_;
  engine::ResultsList results_;
  std::unique_ptr<engine::Report> report_;
  std::unique_ptr<engine::PurgeDriver> driver_;
  std::unique_ptr<help::HelpViewer> help_;
  std::array<TFFoxOptionsFrame1, 4> frames_;
  std::array<HWND, 4> frameLabels_{};
  ConfigurePages configPages_;
  HWND cancelBtn_ = nullptr, exitBtn_ = nullptr, purgeBtn_ = nullptr, previewBtn_ = nullptr, cookiesBtn_ = nullptr;
  HWND diagnosticBtn_ = nullptr;
  gui::StatusBar statusBar_;
  gui::TabControl mainTabs_, optionTabs_, configTabs_;
  std::array<std::string, 2> statusTexts_;
  COLORREF statusColour_ = CLR_DEFAULT;
  std::map<HWND, std::string> hints_;
  HWND hintShownFor_ = nullptr;
  std::vector<std::string> copyMemo_;
  std::vector<std::string> selectedPlugins_;
  std::unique_ptr<help::TQuickStartForm> quickStart_;
  int gaugeStep_ = 0;  // the gauge's growth per function run
  bool closing_ = false;
  bool startMaximised_ = false;
  bool everShown_ = false;
  settings::ShowOptions showOptionsRead_;  // as the settings file held them at creation
};

}  // namespace tidemark::app
