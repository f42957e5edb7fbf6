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
#include "platform/files.h"
#include "platform/gui_win.h"

namespace tidemark::cookies {

class ProtectEntryEditor : public gui::Window {
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

  void ShowModal(HWND owner);
  // ShowModal's steps, for tests and pictures: the window (hidden), then its activation.
  void Create(HWND owner);
  void FormActivate();
  void CurrentEditChange();
  void ListBoxClick();
  void EditAddBtnClick();
  void EditDeleteBtnClick();
  void EditCloseBtnClick();

  // The entries as the list shows them.
  std::vector<std::string> Entries() const { return entries_; }
  bool closed() const { return closed_; }
  const std::string& HintOf(HWND control) const { return hints_.Of(control); }
  HWND listBox() const { return listBox_; }
  HWND currentEdit() const { return currentEdit_; }
  HWND addButton() const { return addBtn_; }
  HWND deleteButton() const { return deleteBtn_; }
  HWND closeButton() const { return closeBtn_; }

 protected:
  ProtectEntryEditor(Texts texts, std::string caption, std::vector<std::string> entries, int pixelsPerInch)
      : texts_(std::move(texts)), ppi_(pixelsPerInch), caption_(std::move(caption)), entries_(std::move(entries)) {}
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetEntries(std::vector<std::string> entries);
  virtual void FormClose();
  bool dirty_ = false;

 private:
  void FormResize();
  void FillList();
  int S(int pixels96) const { return gui::Scale(pixels96, ppi_); }

  Texts texts_;
  int ppi_;
  std::string caption_;
  std::vector<std::string> entries_;
  HWND owner_ = nullptr, label1_ = nullptr, label2_ = nullptr, listBox_ = nullptr, currentEdit_ = nullptr;
  HWND addBtn_ = nullptr, deleteBtn_ = nullptr, closeBtn_ = nullptr, statusBar1_ = nullptr;
  std::vector<HWND> notes_;
  gui::StatusHints hints_;
  bool closed_ = false;
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
  void FormClose() override;

 private:
  platform::FileSystem& files_;
  std::string dataFolder_;
  TempProtectList list_;
};

}  // namespace tidemark::cookies
