// The protect-entry editors: TProtEditForm edits a cookie protect list for
// the cookie manager ("p=" Protect, "r=" Randomize); TProtTempForm edits
// tidemark.pit itself ("p=" Protect, "i=" Ignore delete error). Both are
// modal, with the entries in a list, the entry being edited below it and
// the buttons Add, Delete and Close.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "cookies/protect_editing.h"
#include "cookies/temp_protect.h"
#include "platform/controls_win.h"
#include "platform/files.h"
#include "settings/dialog_window_win.h"

namespace tidemark::cookies {

class ProtectEntryEditor : public gui::DialogWindow {
 public:
  struct Texts {
    const char* className;
    const char* listHeading;
    const char* editHeading;
    std::vector<const char*> notes;
    EntryPrefixes prefixes;
    const char* addRefused;  // the message when the prefix is wrong
    SIZE minimum;            // smallest window at 96 pixels per inch; 0 for none
  };

  // Activation when the window shows (tests and pictures call it after Create).
  void FormActivate();
  void CurrentEditChange();
  void ListBoxClick();
  void EditAddBtnClick();
  void EditDeleteBtnClick();
  void EditCloseBtnClick() { Close(); }

  // The entries as the list shows them.
  std::vector<std::string> Entries() const { return entries_; }
  HWND listBox() const { return listBox_; }
  HWND currentEdit() const { return currentEdit_; }
  HWND addButton() const { return addBtn_; }
  HWND deleteButton() const { return deleteBtn_; }
  HWND closeButton() const { return closeBtn_; }

 protected:
  ProtectEntryEditor(Texts texts, std::string caption, std::vector<std::string> entries, int pixelsPerInch);
  void CreateControls() override;
  void Layout() override;
  void OnShown() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetEntries(std::vector<std::string> entries);
  bool dirty_ = false;

 private:
  void FillList();

  Texts texts_;
  std::vector<std::string> entries_;
  HWND label1_ = nullptr, label2_ = nullptr, listBox_ = nullptr, currentEdit_ = nullptr;
  HWND addBtn_ = nullptr, deleteBtn_ = nullptr, closeBtn_ = nullptr;
  gui::StatusBar statusBar1_;
  std::vector<HWND> notes_;
};

// Given a copy of a cookie protect list; the caller takes Entries() back.
class TProtEditForm : public ProtectEntryEditor {
 public:
  TProtEditForm(std::string caption, std::vector<std::string> entries, int pixelsPerInch);
};

// Loads tidemark.pit when it opens and, when something changed, saves it
// as it closes (never over a file that could not be read).
class TProtTempForm : public ProtectEntryEditor {
 public:
  TProtTempForm(platform::FileSystem& files, std::string dataFolder, int pixelsPerInch);

 protected:
  void OnClosing() override;

 private:
  platform::FileSystem& files_;
  std::string dataFolder_;
  TempProtectList list_;
};

}  // namespace tidemark::cookies
