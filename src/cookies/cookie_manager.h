// The cookie manager's rules, without its window: the addresses of one
// browser's cookie store (one tab), each with its protect status and what the
// last action did to it; Protect, Randomize, Unprotect, Delete and the
// browser's permission over a selection; the filter; the two protect lists,
// read when the window opens and written when it closes.
//
// The stores (Firefox's cookies.sqlite or Cookies.txt, the two Internet
// Explorer indexes) are reached through CookieStore, the window through
// CookieManagerView.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cookies/protect_list.h"
#include "cookies/site_permission.h"
#include "cookies/user_messages.h"
#include "platform/files.h"

namespace tidemark::cookies {

// The confirmations answered "Yes To All": not asked again for the rest of the run.
struct CookieConfirmations {
  bool deleteYesToAll = false;
  bool randomToProtectYesToAll = false;
};

// One cookie of a listed address, as the detail list shows it.
struct StoredCookie {
  std::string host, name, value;
  bool operator==(const StoredCookie&) const = default;
};

// An address the store holds cookies for; note is the store's own comment
// on it (Internet Explorer: the cookie file's name).
struct StoredAddress {
  std::string address, note;
};

// A store's answer to a deletion. All but Deleted keep the cookies.
enum class DeleteResult { Deleted, FirefoxActive, NoCookieFile, FileNotChanged, ErrorInUrl, Locked, SystemError };
struct DeleteAnswer {
  DeleteResult result = DeleteResult::Deleted;
  uint32_t errorCode = 0;  // SystemError's Windows code
};

class CookieStore {
 public:
  virtual ~CookieStore() = default;
  // Reads the store again: each address once, in the store's order.
  virtual std::vector<StoredAddress> Load() = 0;
  // The cookies of an address as last read (none once deleted).
  virtual std::vector<StoredCookie> CookiesOf(const std::string& address) = 0;
  virtual DeleteAnswer Delete(const std::string& address) = 0;
  // True while the browser runs and rewrites the store: no deletion and no
  // permission change then.
  virtual bool InUse() = 0;
  // The browser's own decision for the address, as the permission column shows it.
  virtual std::string Permission(const std::string& address) = 0;
  // False when the browser's settings did not take the change.
  virtual bool SetPermission(const std::string& address, PermissionChange change) = 0;
  // The web site Open shows for the address.
  virtual std::string SiteOf(const std::string& address) = 0;
};

// The comment column: what the last action did to an address.
enum class CookieOutcome { None, OnlyInProtectFile, Deleted, ProtectRemoved, NotDeleted };

inline constexpr const char* kOnlyInProtectFile = "Only in Protect File - no Cookie";

struct CookieAddress {
  std::string address, note, permission;
  ProtectStatus status = ProtectStatus::Unmarked;
  CookieOutcome outcome = CookieOutcome::None;
  DeleteAnswer kept;  // NotDeleted: why
};

// The note while no action changed the address; else "Deleted",
// "not deleted - " + the store's reason, and the like.
std::string CommentText(const CookieAddress& item);
// The address list's columns: address, status, permission, comment.
std::vector<std::string> RowTexts(const CookieAddress& item);

// The actions that change the store or the browser's settings, each a
// button and a menu item.
enum class StoreAction { Delete, Block, Allow, Session, Remove };
struct ActionState {
  bool enabled = true;
  std::string buttonHint, menuHint;
};

// What the cookie manager asks of its window.
class CookieManagerView : public UserMessages {
 public:
  enum class Answer { Yes, No, YesToAll };
  virtual Answer Confirm(const std::string& caption, const std::string& text) = 0;
  // The address's status, permission or comment changed.
  virtual void Changed(size_t item) = 0;
};

// Chromium's tab lists the cookies of every Chromium-family browser and
// profile; they share Firefox's protect list.
enum class CookieTab { Firefox, IENormal, IEProtected, Chromium };

struct CookieManagerSetup {
  platform::FileSystem& files;
  std::string firefoxProtectFile, ieProtectFile;  // the Internet Explorer tabs share one list
  CookieStore &firefox, &ieNormal, &ieProtected, &chromium;
  CookieConfirmations& confirmations;
};

class CookieManager {
 public:
  using Selection = std::vector<size_t>;  // item indexes

  CookieManager(const CookieManagerSetup& setup, CookieManagerView& view) : setup_(setup), view_(view) {}

  // Reads both protect lists; one that exists but cannot be read is told and
  // never written.
  void ReadProtectLists();
  // Writes the IE list when it changed, then shows the tab's store, empty
  // until Refresh. Refused (false) while an action runs.
  bool SelectTab(CookieTab tab);
  // Lists the tab's addresses that hold the filter (any case, blanks around
  // it ignored) in the address or a cookie's host, name or value. Refused
  // while an action runs.
  bool Refresh(std::string_view filter);

  // Each action is refused while another runs (its questions leave the window
  // open) and once the manager is closed; with no selection it tells so.
  // Protect: an address whose own entry was Random loses its cookies first,
  // after a confirmation (Yes To All is kept for the run); No leaves it.
  void Protect(const Selection& selection);
  void Randomize(const Selection& selection);
  void Unprotect(const Selection& selection);
  // After one confirmation for all. A protected address keeps its entry; one
  // whose cookies are gone already is passed over, with the advice to use
  // Unprotect. Refused while the store is in use.
  void Delete(const Selection& selection);
  void SetPermission(const Selection& selection, PermissionChange change);
  // The first selected address's site, when it is a plain host name
  // (letters, digits, "-", "." and a port: nothing the shell could read as
  // another argument), goes to start.
  void OpenSite(const Selection& selection, const std::function<bool(const std::string& site)>& start);
  // The tab's protect entries go through edit (and come back sorted) unless
  // the list could not be read; false when nothing was edited.
  bool EditList(const std::function<std::vector<std::string>(const std::vector<std::string>&)>& edit);
  // Writes the lists that changed; false (nothing done) while an action runs
  // or once closed.
  bool Close();

  const std::vector<CookieAddress>& items() const { return items_; }
  std::vector<StoredCookie> CookiesOf(size_t item) { return Store().CookiesOf(items_.at(item).address); }
  // "Displayed 2 of 5 Cookie Addresses".
  std::string CountText() const;
  CookieTab tab() const { return tab_; }
  // Unavailable while the store is in use, Session on the IE tabs and the
  // permissions on Chromium's tab.
  ActionState StateOf(StoreAction action);
  // Chromium encrypts its cookie values: none can be scrambled there.
  ActionState RandomizeState() const;
  bool StoreInUse() { return Store().InUse(); }
  bool busy() const { return busy_; }
  const ProtectList& firefoxList() const { return firefoxList_; }
  const ProtectList& ieList() const { return ieList_; }

 private:
  class Action;
  CookieStore& Store();
  bool UsesFirefoxList() const { return tab_ == CookieTab::Firefox || tab_ == CookieTab::Chromium; }
  ProtectList& TabList() { return UsesFirefoxList() ? firefoxList_ : ieList_; }
  const std::string& TabListPath() const;
  void Tell(const char* captionSuffix, const std::string& text);
  // Asks unless yesToAll; a Yes To All answer sets it.
  bool Confirmed(bool& yesToAll, const char* captionSuffix, const std::string& text);
  void DeleteCookies(CookieAddress& item, bool keepsEntry);

  CookieManagerSetup setup_;
  CookieManagerView& view_;
  CookieTab tab_ = CookieTab::Firefox;
  ProtectList firefoxList_, ieList_;
  std::vector<CookieAddress> items_;
  size_t total_ = 0;  // addresses in the store
  bool busy_ = false, closed_ = false;
};

}  // namespace tidemark::cookies
