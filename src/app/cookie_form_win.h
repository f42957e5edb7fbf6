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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cookie_stores.h"
#include "cookies/cookie_manager.h"
#include "platform/controls_win.h"
#include "plugins/plugin_windows_win.h"
#include "settings/dialog_window_win.h"
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
class TCookieForm : public gui::DialogWindow, cookies::CookieManagerView {
 public:
  explicit TCookieForm(CookieFormContext& context);
  ~TCookieForm() override;

  // What ShowModal does once the window is shown, for tests and pictures after Create.
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
  // The window's keys (Ctrl+A and Delete in the address list); true when taken.
  bool PreTranslate(MSG& message) override;

  // What the lists show, row by row in list order: address, status, permission, comment; host, name, value.
  std::vector<std::vector<std::string>> Rows() const;
  std::vector<std::vector<std::string>> DetailRows() const;
  void SelectRows(const std::vector<int>& rows);
  std::string CountText() const { return model_.CountText(); }
  const cookies::ProtectList& firefoxList() const { return model_.firefoxList(); }
  HWND filterEdit() const { return edit1_; }
  HWND listView1() const { return list1_.hwnd(); }
  HWND listView2() const { return list2_.hwnd(); }
  HWND deleteButton() const { return delete_; }
  HWND blockButton() const { return permitBlock_; }
  HWND allowButton() const { return permitAllow_; }
  HWND sessionButton() const { return permitSession_; }
  HWND removeButton() const { return permitRemove_; }
  HMENU popupMenu() const { return popup_; }

 protected:
  void CreateControls() override;
  void Layout() override;
  void OnShown() override;
  void OnCloseRequest() override { CloseCookBtnClick(); }
  void OnClosing() override { model_.Close(); }  // writes the protect lists
  // The place comes and goes with the fonts and the lists' layout.
  std::optional<settings::WindowPlacement> KeptPlacement() override;
  void StorePlace() override;
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Show(const std::string& caption, const std::string& text) override;
  Answer Confirm(const std::string& caption, const std::string& text) override;
  void Changed(size_t item) override { UpdateRow(static_cast<int>(item)); }
  void SetTabs();
  void SetButtons();
  void Fill();
  void ShowItems();
  cookies::CookieManager::Selection Selected() const;  // item indexes in list order
  void UpdateRow(int item);
  void SortBy(int column, bool ascending);
  void Splitter1Moved(int y);
  void ApplyFonts();

  CookieFormContext& context_;
  HWND label1_ = nullptr, edit1_ = nullptr, refresh_ = nullptr, protect_ = nullptr, unprotect_ = nullptr,
       random_ = nullptr, delete_ = nullptr, open_ = nullptr, edit_ = nullptr, permitBlock_ = nullptr,
       permitAllow_ = nullptr, permitSession_ = nullptr, permitRemove_ = nullptr, help_ = nullptr, close_ = nullptr;
  gui::TabControl tabs_;
  gui::ListView list1_, list2_;
  gui::StatusBar status_;
  HMENU popup_ = nullptr;
  HFONT listFont_ = nullptr;
  gui::Splitter splitter1_;
  std::map<UINT, std::string> menuHints_;
  settings::CookieListLayout layout_;

  FirefoxCookieStore firefoxStore_;
  IECookieStore ieNormalStore_, ieProtectedStore_;
  ChromiumCookieStore chromiumStore_;
  cookies::CookieManager model_;
  std::array<bool, 4> nextDescending_{};
  bool activated_ = false;
};

}  // namespace tidemark::app
