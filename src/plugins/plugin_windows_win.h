// The plugin windows: TPlugSelForm chooses the plugins "Run Plugins" runs
// (PLUGINS.DAT) and shows a plugin's text; TPlugTstForm shows the output of
// a test or execute run of one plugin. Both are modal, remember their place
// and run plugins on the main window's purge resources, outside the driver.
#pragma once
#include <windows.h>

#include <map>
#include <functional>
#include <string>
#include <vector>

#include "engine/driver.h"
#include "engine/results_list_win.h"
#include "engine/purge_environment.h"
#include "platform/gui_win.h"
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

class TPlugTstForm : public gui::Window {
 public:
  // testMode: "Test Plugin" (a Preview without shredding, every line
  // echoed); else "Execute Plugin" with the purge's settings.
  TPlugTstForm(PluginWindowsContext& context, std::vector<std::string> lines, bool testMode, std::string title);

  void ShowModal(HWND owner);
  // ShowModal's steps, for tests and pictures: the window (hidden), then the run.
  void Create(HWND owner);
  void FormActivate();
  void CloseTstBtnClick();

  bool closed() const { return closed_; }
  const std::vector<std::string>& Output() const { return output_.lines(); }
  HWND titleLabel() const { return titleLabel_; }
  HWND closeButton() const { return closeBtn_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormResize();
  void FormClose();

  PluginWindowsContext& context_;
  std::vector<std::string> lines_;
  bool testMode_;
  std::string title_;
  engine::ResultsList output_;
  engine::PurgeState state_;
  HWND owner_ = nullptr, titleLabel_ = nullptr, closeBtn_ = nullptr;
  bool maximised_ = false, ran_ = false, running_ = false, closeRequested_ = false, closed_ = false;
};

// A bar between two panes that the mouse drags: between the plugin list and
// the plugin's text (reports x), or above a lower pane (horizontal, reports y).
class Splitter : public gui::Window {
 public:
  void Create(HWND parent, std::function<void(int at)> onMoved, bool horizontal = false);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::function<void(int)> onMoved_;
  bool horizontal_ = false;
};

class TPlugSelForm : public gui::Window {
 public:
  explicit TPlugSelForm(PluginWindowsContext& context);

  void ShowModal(HWND owner);
  // ShowModal's steps, for tests and pictures: the window (hidden), then the list.
  void Create(HWND owner);
  void FormActivate();

  void ListView1Changing(const NMLISTVIEW& change);
  void ListView1Change(const NMLISTVIEW& change);
  void ListView1MouseUp() { ShowSelectedPlugin(); }
  void ListView1KeyUp() { ShowSelectedPlugin(); }
  void Splitter1Moved(int x);
  void SConfigSaveBtnClick();
  void SConfigExitBtnClick();
  void AllOnButtonClick() { SetAllChecks(true); }
  void AllOffButtonClick() { SetAllChecks(false); }
  void PlugTestBtnClick() { RunShownPlugin(true); }
  void PlugExecBtnClick() { RunShownPlugin(false); }

  bool closed() const { return closed_; }
  const std::string& HintOf(HWND control) const;
  HWND listView() const { return listView_; }
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
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  TPlugSelForm(PluginWindowsContext& context, const engine::PurgeResources& resources);
  void AddHint(HWND control, const std::string& hint);
  void ShowSelectedPlugin();
  void SetAllChecks(bool checked);
  void RunShownPlugin(bool testMode);
  void FormClose();
  void Layout();
  int SelectedRow() const;
  std::string RowText(int row) const;
  int S(int pixels96) const { return gui::Scale(pixels96, context_.restore.pixelsPerInch); }

  PluginWindowsContext& context_;
  platform::FileSystem& files_;
  std::string pluginsFolder_, listFile_;
  HWND owner_ = nullptr, label1_ = nullptr, label2_ = nullptr, listView_ = nullptr, listBox_ = nullptr;
  HWND saveBtn_ = nullptr, exitBtn_ = nullptr, allOnBtn_ = nullptr, allOffBtn_ = nullptr, testBtn_ = nullptr,
       execBtn_ = nullptr, tooltip_ = nullptr;
  Splitter splitter_;
  std::map<HWND, std::string> hints_;
  int listWidth_;  // client pixels
  bool tracking_ = false;
  int changingRow_ = -1;
  bool changingChecked_ = false;
  std::string shownName_;
  std::vector<std::string> shownLines_;
  bool maximised_ = false, closed_ = false;
};

}  // namespace tidemark::plugins
