// TCookieForm: the cookie manager. One line per cookie address that Firefox
// or Internet Explorer (normal and Protected Mode) holds, with its protect
// status, the browser's own permission and a comment; the cookies of the
// selected address below. Protect, Randomize, Unprotect, Delete, Open and
// Edit change the two cookie protect lists, which are written when the
// window closes; Block, Allow, Session and Remove set the browser's
// permission. help::TCHform shows the window's help text.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/cookie_stores.h"
#include "cookies/cookie_manager.h"
#include "platform/gui_win.h"
#include "plugins/plugin_windows_win.h"
#include "settings/settings_state.h"
#include "settings/window_settings.h"

namespace tidemark::app {

// What the cookie manager works on, handed over by the main window.
struct CookieFormContext {
  platform::FileSystem& files;
  platform::SharedMemory& memory;
  const locations::FirefoxLocations& firefox;
  const locations::IELocations& ie;
  std::string firefoxProtectFile, ieProtectFile;
  firefox::FirefoxSitePermissions& firefoxPermissions;  // loaded around the window
  ie::IEPermissions& iePermissions;
  cookies::CookieConfirmations& confirmations;
  // Deletions go through the purge's deletion engine: they shred (and the
  // databases overwrite what they delete) when its Secure Erase is on.
  const engine::PurgeState& purge;
  std::function<engine::PurgeResources()> purgeResources;
  settings::FontSettings& fonts;
  std::string settingsFile;  // empty: no place is kept
  settings::RestoreContext restore;
  std::string programFolder;  // holds TmrkCook.rtf
  bool protectedMode = false;  // Windows Vista or later: the Protected Mode tab
  bool readOnlyMedia = false;
  std::function<bool()> firefoxRunning;
  // Starts Firefox on the address; false when it could not be started.
  std::function<bool(const std::string& address)> openInFirefox;
  // F1: the help file at the window's topic.
  std::function<void(std::string_view topic)> help;
};

// The window shows a cookies::CookieManager, which holds the rules.
class TCookieForm : public gui::Window, cookies::CookieManagerView {
 public:
  explicit TCookieForm(CookieFormContext& context);
  ~TCookieForm() override;

  void ShowModal(HWND owner);
  // ShowModal's steps, for tests and pictures: the window (hidden), then its activation.
  void Create(HWND owner);
  void FormActivate();
  // FormClose: false (nothing done) while an action is busy.
  bool CloseCookBtnClick();

  void RefreshBtnClick();
  void TabControlCookChange(int index);
  void ListView1ColumnClick(int column);
  void ListView1SelectItem();
  void Protect1Click();
  void UnProtect1Click();
  void RandomSbtnClick();
  void DeleteSBtnClick();
  void OpenSbtnClick();
  void EditSbtnClick();
  void SetCookiePermission(cookies::PermissionChange change);
  void SpeedButton1Click();
  void SelectAll();
  // The popup menu at the selected item (keyboard) or below the cursor.
  void PopupListView1Menu1Popup(bool atSelection);
  // The window's keys (F1; Ctrl+A and Delete in the address list); true when taken.
  bool PreTranslate(MSG& message);

  // What the lists show, row by row in list order: address, status, permission, comment; host, name, value.
  std::vector<std::vector<std::string>> Rows() const;
  std::vector<std::vector<std::string>> DetailRows() const;
  void SelectRows(const std::vector<int>& rows);
  std::string CountText() const { return model_.CountText(); }
  std::string ColumnTitle(int column) const;
  // The header's arrow image of a column (kArrowUp, kArrowDown), -1 for none.
  int HeaderArrow(int column) const;
  static constexpr int kArrowUp = 0, kArrowDown = 1;
  bool closed() const { return closed_; }
  const cookies::ProtectList& firefoxList() const { return model_.firefoxList(); }
  const std::string& HintOf(HWND control) const { return hints_.Of(control); }
  HWND filterEdit() const { return edit1_; }
  HWND listView1() const { return listView1_; }
  HWND listView2() const { return listView2_; }
  HWND tabs() const { return tabs_; }
  HWND deleteButton() const { return delete_; }
  HWND blockButton() const { return permitBlock_; }
  HWND allowButton() const { return permitAllow_; }
  HWND sessionButton() const { return permitSession_; }
  HWND removeButton() const { return permitRemove_; }
  HMENU popupMenu() const { return popup_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Show(const std::string& caption, const std::string& text) override;
  Answer Confirm(const std::string& caption, const std::string& text) override;
  void Changed(size_t item) override { UpdateRow(static_cast<int>(item)); }
  void CreateControls();
  void SetTabs();
  void SetButtons();
  void Fill();
  void ShowItems();
  cookies::CookieManager::Selection Selected() const;  // item indexes in list order
  int ItemOfRow(int row) const;
  void UpdateRow(int item);
  void SortBy(int column, bool ascending);
  void DrawTab(const DRAWITEMSTRUCT& draw);
  void Layout();
  void Splitter1Moved(int y);
  void ApplyFonts();
  int S(int pixels96) const { return gui::Scale(pixels96, context_.restore.pixelsPerInch); }

  CookieFormContext& context_;
  HWND owner_ = nullptr;
  HWND label1_ = nullptr, edit1_ = nullptr, refresh_ = nullptr, protect_ = nullptr, unprotect_ = nullptr,
       random_ = nullptr, delete_ = nullptr, open_ = nullptr, edit_ = nullptr, permitBlock_ = nullptr,
       permitAllow_ = nullptr, permitSession_ = nullptr, permitRemove_ = nullptr, help_ = nullptr, close_ = nullptr;
  HWND tabs_ = nullptr, listView1_ = nullptr, listView2_ = nullptr, statusBar_ = nullptr;
  HMENU popup_ = nullptr;
  HFONT listFont_ = nullptr;
  HIMAGELIST imageList2_ = nullptr;  // the header's sort arrows
  gui::Splitter splitter1_;
  gui::StatusHints hints_;
  std::map<UINT, std::string> menuHints_;
  settings::CookieListLayout layout_;
  bool maximised_ = false;

  FirefoxCookieStore firefoxStore_;
  IECookieStore ieNormalStore_, ieProtectedStore_;
  cookies::CookieManager model_;
  std::array<bool, 4> nextDescending_{};
  bool closed_ = false, activated_ = false;
};

}  // namespace tidemark::app
