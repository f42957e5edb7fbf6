#include "cookies/cookie_manager.h"

#include <algorithm>

#include "cookies/protect_file.h"
#include "platform/product.h"
#include "platform/text.h"

namespace tidemark::cookies {
namespace {

constexpr const char* kErrorCondition = "  -  Error Condition";

bool IsPlainHostName(std::string_view address) {
  size_t colon = address.find(':');
  std::string_view host = address.substr(0, colon);
  if (host.empty()) return false;
  for (char c : host)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.'))
      return false;
  if (colon == std::string_view::npos) return true;
  std::string_view port = address.substr(colon + 1);
  return !port.empty() && port.size() <= 5 &&
         std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The address's entry, whatever it was, becomes prefix + address.
void ReplaceProtectEntry(ProtectList& list, const std::string& address, const char* prefix) {
  ProtectMatch match = FindCookieProtect(list, address);
  if (match.found) list.entries.erase(list.entries.begin() + match.index);
  AddProtectEntry(list.entries, prefix + LowerCase(address));
  list.Dirty = true;
}

std::string KeptText(const DeleteAnswer& kept) {
  switch (kept.result) {
    case DeleteResult::FirefoxActive: return "FireFox is Active";
    case DeleteResult::NoCookieFile: return "Cookie File not found to Delete";
    case DeleteResult::FileNotChanged: return "Cookies file not changed";
    case DeleteResult::ErrorInUrl: return "Error in URL";
    case DeleteResult::Locked: return "Locked";
    case DeleteResult::SystemError: return "Error-" + std::to_string(kept.errorCode);
    case DeleteResult::Deleted: break;
  }
  return {};
}

}  // namespace

std::string CommentText(const CookieAddress& item) {
  switch (item.outcome) {
    case CookieOutcome::OnlyInProtectFile: return kOnlyInProtectFile;
    case CookieOutcome::Deleted: return "Deleted";
    case CookieOutcome::ProtectRemoved: return "Protect removed";
    case CookieOutcome::NotDeleted: return "not deleted - " + KeptText(item.kept);
    case CookieOutcome::None: break;
  }
  return item.note;
}

std::vector<std::string> RowTexts(const CookieAddress& item) {
  return {item.address, ProtectStatusText(item.status), item.permission, CommentText(item)};
}

// Held while an action walks the selection: no other action, refresh, tab
// change or close runs meanwhile (nor once the manager is closed).
class CookieManager::Action {
 public:
  explicit Action(CookieManager& manager) : busy_(manager.busy_), acquired_(!busy_ && !manager.closed_) {
    if (acquired_) busy_ = true;
  }
  ~Action() {
    if (acquired_) busy_ = false;
  }
  Action(const Action&) = delete;
  Action& operator=(const Action&) = delete;
  explicit operator bool() const { return acquired_; }

 private:
  bool& busy_;
  const bool acquired_;
};

CookieStore& CookieManager::Store() {
  switch (tab_) {
    case CookieTab::IENormal: return setup_.ieNormal;
    case CookieTab::IEProtected: return setup_.ieProtected;
    case CookieTab::Chromium: return setup_.chromium;
    case CookieTab::Firefox: break;
  }
  return setup_.firefox;
}

const std::string& CookieManager::TabListPath() const {
  return UsesFirefoxList() ? setup_.firefoxProtectFile : setup_.ieProtectFile;
}

void CookieManager::Tell(const char* captionSuffix, const std::string& text) {
  view_.Show(kProductName + std::string(captionSuffix), text);
}

bool CookieManager::Confirmed(bool& yesToAll, const char* captionSuffix, const std::string& text) {
  if (yesToAll) return true;
  CookieManagerView::Answer answer = view_.Confirm(kProductName + std::string(captionSuffix), text);
  if (answer == CookieManagerView::Answer::YesToAll) yesToAll = true;
  return answer != CookieManagerView::Answer::No;
}

void CookieManager::ReadProtectLists() {
  const std::pair<ProtectList*, const std::string*> lists[] = {{&firefoxList_, &setup_.firefoxProtectFile},
                                                               {&ieList_, &setup_.ieProtectFile}};
  for (auto [list, path] : lists) {
    *list = LoadCookieProtectList(setup_.files, *path);
    if (!list->OpenedOK)
      Tell("  -  Message", std::string(list == &firefoxList_ ? "Unable to open exsting FireFox Protect file - "
                                                              : "Unable to open exsting I.E. Protect file - ") +
                               *path + "\r\n\r\nAny changes made here will be discarded...");
  }
}

bool CookieManager::SelectTab(CookieTab tab) {
  if (busy_) return false;
  if (ieList_.Dirty) SaveCookieProtectList(ieList_, setup_.ieProtectFile, setup_.files, view_);
  tab_ = tab;
  items_.clear();
  total_ = 0;
  return true;
}

bool CookieManager::Refresh(std::string_view filter) {
  if (busy_) return false;
  const std::string wanted = LowerCase(Trim(filter));
  auto holds = [&](std::string_view text) { return LowerCase(text).find(wanted) != std::string::npos; };
  std::vector<StoredAddress> stored = Store().Load();
  total_ = stored.size();
  items_.clear();
  for (StoredAddress& address : stored) {
    bool listed = wanted.empty() || holds(address.address);
    if (!listed)
      for (const StoredCookie& cookie : Store().CookiesOf(address.address))
        if (holds(cookie.host) || holds(cookie.name) || holds(cookie.value)) {
          listed = true;
          break;
        }
    if (!listed) continue;
    ProtectStatus status = MarkProtectStatus(TabList(), address.address);
    std::string permission = Store().Permission(address.address);
    items_.push_back({std::move(address.address), std::move(address.note), std::move(permission), status});
  }
  return true;
}

std::string CookieManager::CountText() const {
  return "Displayed " + std::to_string(items_.size()) + " of " + std::to_string(total_) +
         (tab_ == CookieTab::Firefox || tab_ == CookieTab::Chromium ? " Cookie Addresses" : " Cookie Addreses");
}

ActionState CookieManager::StateOf(StoreAction action) {
  struct Texts {
    const char* name;
    const char* firefoxHint;
    const char* ieHint;
  };
  constexpr const char* kDeleteHint = "Delete the Cookies of Selected Entries now";
  static constexpr Texts kTexts[] = {
      {"Delete", kDeleteHint, kDeleteHint},
      {"Block", "Set Selected Entry in FireFox's Cookie Settings to \"Block\"",
       "Set Selected Entry in I.E.'s Cookie Settings to \"Block\""},
      {"Allow", "Set Selected Entry in FireFox's Cookie Settings to \"Allow\"",
       "Set Selected Entry in I.E.'s Cookie Settings to \"Allow\""},
      {"Session", "Set Selected Entry in FireFox's Cookie Settings to \"Allow for Session\"", ""},
      {"Remove", "Remove Selected Entry from FireFox's Cookie Settings",
       "Remove Selected Entry from I.E.'s Cookie Settings"},
  };
  const Texts& texts = kTexts[static_cast<size_t>(action)];
  if (StoreInUse())
    return {false, std::string("\"") + texts.name + "\" Button Disabled - FireFox is Active",
            std::string("\"") + texts.name + "\" Disabled - FireFox is Active"};
  if (tab_ == CookieTab::Firefox) return {true, texts.firefoxHint, texts.firefoxHint};
  if (tab_ == CookieTab::Chromium && action != StoreAction::Delete)
    return {false, std::string("\"") + texts.name + "\" Button Disabled - Chromium keeps its own Site Settings",
            std::string("\"") + texts.name + "\" Disabled - Chromium keeps its own Site Settings"};
  return {action != StoreAction::Session, texts.ieHint, texts.ieHint};
}

ActionState CookieManager::RandomizeState() const {
  constexpr const char* kHint = "Randomize the values of Selected Entries at each Purge";
  if (tab_ != CookieTab::Chromium) return {true, kHint, kHint};
  return {false, "\"Randomize\" Button Disabled - Chromium encrypts its Cookie values",
          "\"Randomize\" Disabled - Chromium encrypts its Cookie values"};
}

void CookieManager::DeleteCookies(CookieAddress& item, bool keepsEntry) {
  DeleteAnswer answer = Store().Delete(item.address);
  if (answer.result == DeleteResult::Deleted) {
    item.outcome = keepsEntry ? CookieOutcome::OnlyInProtectFile : CookieOutcome::Deleted;
  } else {
    item.outcome = CookieOutcome::NotDeleted;
    item.kept = answer;
  }
}

void CookieManager::Protect(const Selection& selection) {
  Action action(*this);
  if (!action) return;
  if (selection.empty()) return Tell(kErrorCondition, "No entry selected for Protect function");
  ProtectList& list = TabList();
  for (size_t index : selection) {
    CookieAddress& item = items_.at(index);
    ProtectMatch match = FindCookieProtect(list, item.address);
    if (match.found && match.kind == 'R' && item.outcome != CookieOutcome::OnlyInProtectFile) {
      std::string text = std::string("When changing from \"Random\" to \"Protect\"\r\n") + kProductName +
                         " will delete the current Cookie\r\nso that it can be recreated by the sender.\r\n\r\n"
                         "Press \"Yes\" to confirm this Request\r\n\r\nPress \"No\" to deny this Request\r\n\r\n"
                         "Press \"Yes To All\" to confirm all Random to Protect Requests\r\n"
                         " [this turns off \"Confirmation\" for Random to Protect]";
      if (!Confirmed(setup_.confirmations.randomToProtectYesToAll, "  -  Random to Protect Confirmation", text))
        continue;
      DeleteCookies(item, true);
    }
    item.status = ProtectStatus::Protect;
    ReplaceProtectEntry(list, item.address, "p=");
    view_.Changed(index);
  }
}

void CookieManager::Randomize(const Selection& selection) {
  Action action(*this);
  if (!action) return;
  if (!RandomizeState().enabled) return;
  if (selection.empty()) return Tell(kErrorCondition, "No entry selected for Randomize function");
  for (size_t index : selection) {
    CookieAddress& item = items_.at(index);
    if (item.status == ProtectStatus::Random) continue;
    item.status = ProtectStatus::Random;
    ReplaceProtectEntry(TabList(), item.address, "r=");
    view_.Changed(index);
  }
}

void CookieManager::Unprotect(const Selection& selection) {
  Action action(*this);
  if (!action) return;
  ProtectList& list = TabList();
  bool any = false;
  for (size_t index : selection) {
    CookieAddress& item = items_.at(index);
    if (item.status == ProtectStatus::Unmarked) continue;
    any = true;
    std::string entry = (item.status == ProtectStatus::Random ? "r=" : "p=") + item.address;
    item.status = ProtectStatus::Unmarked;
    item.outcome = CookieOutcome::ProtectRemoved;
    std::erase_if(list.entries, [&](const std::string& listed) { return SameText(listed, entry); });
    list.Dirty = true;
    view_.Changed(index);
  }
  if (!any) Tell(kErrorCondition, "No \"Protect\" entry selected for Unprotect function");
}

void CookieManager::Delete(const Selection& selection) {
  if (StoreInUse()) return;
  Action action(*this);
  if (!action) return;
  if (selection.empty()) return Tell(kErrorCondition, "No entry selected for Delete function");
  std::string what =
      selection.size() == 1 ? "selected entry, " : std::to_string(selection.size()) + " selected entries,";
  std::string text = "For your request to delete the " + what +
                     "\r\n\r\nPress \"Yes\" to confirm this Delete Request\r\n\r\nPress \"No\" to deny this Delete "
                     "Request\r\n\r\nPress \"Yes To All\" to confirm all Delete Requests\r\n"
                     " [this turns off \"Confirmation\" for Deletes]";
  if (!Confirmed(setup_.confirmations.deleteYesToAll, "  -  Delete Confirmation", text)) return;
  bool advised = false;
  for (size_t index : selection) {
    CookieAddress& item = items_.at(index);
    bool protectedItem = item.status != ProtectStatus::Unmarked;
    if (protectedItem && item.outcome == CookieOutcome::OnlyInProtectFile) {
      if (!advised)
        Tell("  -  Information Message", "You must use UnProtect to Remove \r\nan entry from the Protect File.");
      advised = true;
      continue;
    }
    if (item.outcome == CookieOutcome::Deleted) continue;
    DeleteCookies(item, protectedItem);
    view_.Changed(index);
  }
}

void CookieManager::SetPermission(const Selection& selection, PermissionChange change) {
  if (StoreInUse()) return;
  Action action(*this);
  if (!action) return;
  if (selection.empty()) return Tell(kErrorCondition, "No entry selected for Exception Function");
  for (size_t index : selection) {
    CookieAddress& item = items_.at(index);
    if (!Store().SetPermission(item.address, change)) continue;
    item.permission = PermissionChangeText(change);
    view_.Changed(index);
  }
}

void CookieManager::OpenSite(const Selection& selection, const std::function<bool(const std::string& site)>& start) {
  if (selection.empty()) return Tell(kErrorCondition, "No Cookie entry selected for Open function");
  std::string site = Store().SiteOf(items_.at(selection.front()).address);
  if (!IsPlainHostName(site) || !start || !start(site))
    Tell(kErrorCondition, "Unable to execute FireFox to Open the web domain");
}

bool CookieManager::EditList(const std::function<std::vector<std::string>(const std::vector<std::string>&)>& edit) {
  Action action(*this);
  if (!action) return false;
  ProtectList& list = TabList();
  if (!list.OpenedOK) {
    Tell("  -  Message", std::string(UsesFirefoxList() ? "Unable to open exsting FireFox Protect file - \r\n"
                                                                : "Unable to open exsting I.E. Protect file - \r\n") +
                             TabListPath());
    return false;
  }
  list.entries = edit(list.entries);
  SortProtectEntries(list.entries);
  list.Dirty = true;
  return true;
}

bool CookieManager::Close() {
  if (busy_ || closed_) return false;
  closed_ = true;
  SaveCookieProtectList(firefoxList_, setup_.firefoxProtectFile, setup_.files, view_);
  SaveCookieProtectList(ieList_, setup_.ieProtectFile, setup_.files, view_);
  items_.clear();
  return true;
}

}  // namespace tidemark::cookies
