// The plugin windows: TPlugSelForm chooses the plugins "Run Plugins" runs
// (PLUGINS.DAT) and shows a plugin's text; TPlugTstForm shows the output of
// a test or execute run of one plugin. Both are modal, remember their place
// and run plugins on the main window's purge resources, outside the driver.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/driver.h"
#include "engine/results_list_win.h"
#include "engine/purge_environment.h"
#include "platform/controls_win.h"
#include "settings/dialog_window_win.h"
#include "settings/window_settings.h"

namespace tidemark::plugins {

// What the plugin windows take from the main window.
struct PluginWindowsContext {
  std::function<engine::PurgeResources()> resources;  // the main window's, taken for each run
  const engine::PurgeState& purge;     // the Preview Purge setting; Secure Erase as the Standard frame says
  std::vector<std::string>& selected;  // the selected plugins; "Apply Changes" replaces them
  std::string settingsFile;            // where the windows keep their places
  settings::RestoreContext restore;
  bool readOnlyMedia = false;  // CdExec: no selection list or places are written
  std::function<void()> help;  // F1 in either window
};

class TPlugTstForm : public gui::DialogWindow {
 public:
  // testMode: "Test Plugin" (a Preview without shredding, every line
  // echoed); else "Execute Plugin" with the purge's settings.
  TPlugTstForm(PluginWindowsContext& context, std::vector<std::string> lines, bool testMode, std::string title);

  // The run, once, as the window shows (tests and pictures call it after Create).
  void FormActivate();
  void CloseTstBtnClick() { OnCloseRequest(); }

  const std::vector<std::string>& Output() const { return output_.lines(); }
  HWND titleLabel() const { return titleLabel_; }
  HWND closeButton() const { return closeBtn_; }

 protected:
  void CreateControls() override;
  void Layout() override;
  void OnShown() override { FormActivate(); }
  // Closing during the run stops it at its next cancel test first.
  void OnCloseRequest() override;

 private:
  PluginWindowsContext& context_;
  std::vector<std::string> lines_;
  bool testMode_;
  std::string title_;
  engine::ResultsList output_;
  engine::PurgeState state_;
  HWND titleLabel_ = nullptr, closeBtn_ = nullptr;
  bool ran_ = false, running_ = false, closeRequested_ = false;
};

class TPlugSelForm : public gui::DialogWindow {
 public:
  explicit TPlugSelForm(PluginWindowsContext& context);

  // Fills the list as the window shows (tests and pictures call it after Create).
  void FormActivate();
  void Splitter1Moved(int x);
  void SConfigSaveBtnClick();
  void SConfigExitBtnClick() { OnCloseRequest(); }
  void AllOnButtonClick() { SetAllChecks(true); }
  void AllOffButtonClick() { SetAllChecks(false); }
  void PlugTestBtnClick() { RunShownPlugin(true); }
  void PlugExecBtnClick() { RunShownPlugin(false); }

  gui::ListView& pluginList() { return list_; }
  HWND listBox() const { return listBox_; }
  HWND saveButton() const { return saveBtn_; }
  HWND exitButton() const { return exitBtn_; }
  HWND allOnButton() const { return allOnBtn_; }
  HWND allOffButton() const { return allOffBtn_; }
  HWND testButton() const { return testBtn_; }
  HWND execButton() const { return execBtn_; }
  HWND label1() const { return label1_; }
  HWND label2() const { return label2_; }
  HWND splitter() const { return splitter_.hwnd(); }

 protected:
  void CreateControls() override;
  void Layout() override;
  void OnShown() override;
  // Unsaved ticks are offered for saving first.
  void OnCloseRequest() override;

 private:
  TPlugSelForm(PluginWindowsContext& context, const engine::PurgeResources& resources);
  void SelectionChanged();
  void ShowSelectedPlugin();
  void SetAllChecks(bool checked);
  void RunShownPlugin(bool testMode);

  PluginWindowsContext& context_;
  platform::FileSystem& files_;
  std::string pluginsFolder_, listFile_;
  HWND label1_ = nullptr, label2_ = nullptr, listBox_ = nullptr;
  HWND saveBtn_ = nullptr, exitBtn_ = nullptr, allOnBtn_ = nullptr, allOffBtn_ = nullptr, testBtn_ = nullptr,
       execBtn_ = nullptr;
  gui::ListView list_;
  gui::Splitter splitter_;
  int listWidth_;  // client pixels
  bool tracking_ = false;
  std::string shownName_;
  std::vector<std::string> shownLines_;
};

}  // namespace tidemark::plugins
