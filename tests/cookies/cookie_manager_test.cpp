// The cookie manager's rules natively: its protect lists on the in-memory file system, the browsers' stores in memory.
#include "cookies/cookie_manager.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <set>

#include "support/memory_files.h"

namespace tidemark::cookies {
namespace {

using Lines = std::vector<std::string>;
using Answer = CookieManagerView::Answer;
const std::string kFirefoxList = "C:\\Data\\Tidemark.Dat", kIEList = "C:\\Data\\IEcookie.dat";

// A browser's cookies and permissions; it takes every change but those a test makes it refuse.
struct MemoryStore : CookieStore {
  void Add(const std::string& address, std::vector<StoredCookie> held, const std::string& note = "") {
    addresses.push_back({address, note});
    cookies[address] = std::move(held);
  }

  std::vector<StoredAddress> Load() override { return addresses; }
  std::vector<StoredCookie> CookiesOf(const std::string& address) override { return cookies[address]; }
  DeleteAnswer Delete(const std::string& address) override {
    deleted.push_back(address);
    if (refusal.result == DeleteResult::Deleted) cookies.erase(address);
    return refusal;
  }
  bool InUse() override { return inUse; }
  std::string Permission(const std::string& address) override { return permissions[address]; }
  bool SetPermission(const std::string& address, PermissionChange change) override {
    if (refusesPermission.count(address)) return false;
    permissions[address] = PermissionChangeText(change);
    return true;
  }
  std::string SiteOf(const std::string& address) override { return address.substr(address.find('@') + 1); }

  std::vector<StoredAddress> addresses;
  std::map<std::string, std::vector<StoredCookie>> cookies;
  std::map<std::string, std::string> permissions;
  std::set<std::string> refusesPermission;
  DeleteAnswer refusal;  // every deletion's answer
  bool inUse = false;
  Lines deleted;
};

// The window: messages and questions as "caption|text"; answers Yes unless told otherwise.
struct Window : CookieManagerView {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  Answer Confirm(const std::string& caption, const std::string& text) override {
    asked.push_back(caption + "|" + text);
    if (during) during();
    if (answers.empty()) return Answer::Yes;
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void Changed(size_t item) override { changed.push_back(item); }
  Lines shown, asked;
  std::deque<Answer> answers;
  std::function<void()> during;
  std::vector<size_t> changed;
};

enum class Act { Protect, Randomize, Unprotect, Delete, Block, OpenSite };

class CookieManagerRules : public ::testing::Test {
 protected:
  CookieManagerRules() {
    firefox.Add(".random.test", {{".random.test", "id", "abc"}});
    firefox.Add("five.test", {{"five.test", "n0", "v"}, {"five.test", "n1", "w"}});
    firefox.Add("kept.test", {{"kept.test", "k", "v"}});
    firefox.Add("name.test", {{"name.test", "SESSION", "x"}});
    firefox.Add("value.test", {{"value.test", "id", "xSeSSy"}});
    firefox.permissions["kept.test"] = "Block";
    ieNormal.Add("Cookie:me@shop.site.test/", {{"site.test", "SID", "Abc"}}, "ME@SHOP[1].TXT");
    ieNormal.Add("Cookie:me@other.test/", {{"other.test", "token", "plain"}}, "ME@OTHER[1].TXT");
    ieProtected.Add("Cookie:me@low.test/", {{"low.test", "a", "b"}}, "ME@LOW[1].TXT");
  }
  void Open(const std::string& firefoxEntries, const std::string& ieEntries = "") {
    files.AddFile(kFirefoxList, firefoxEntries);
    files.AddFile(kIEList, ieEntries);
    manager.emplace(
        CookieManagerSetup{files, kFirefoxList, kIEList, firefox, ieNormal, ieProtected, chromium, confirmations},
        window);
    manager->ReadProtectLists();
    Show(CookieTab::Firefox);
  }
  void Show(CookieTab tab, std::string_view filter = "") {
    ASSERT_TRUE(manager->SelectTab(tab));
    ASSERT_TRUE(manager->Refresh(filter));
  }
  CookieManager::Selection Of(std::initializer_list<const char*> addresses) {
    CookieManager::Selection selection;
    for (const char* address : addresses)
      for (size_t i = 0; i < manager->items().size(); ++i)
        if (manager->items()[i].address == address) selection.push_back(i);
    return selection;
  }
  void Run(Act act, const CookieManager::Selection& selection) {
    auto start = [this](const std::string& site) { return opened.push_back(site), true; };
    if (act == Act::Protect) manager->Protect(selection);
    if (act == Act::Randomize) manager->Randomize(selection);
    if (act == Act::Unprotect) manager->Unprotect(selection);
    if (act == Act::Delete) manager->Delete(selection);
    if (act == Act::Block) manager->SetPermission(selection, PermissionChange::Block);
    if (act == Act::OpenSite) manager->OpenSite(selection, start);
  }
  Lines Row(const char* address) { return RowTexts(manager->items().at(Of({address}).at(0))); }

  test::MemoryFileSystem files;
  MemoryStore firefox, ieNormal, ieProtected, chromium;
  CookieConfirmations confirmations;
  Window window;
  std::optional<CookieManager> manager;
  Lines opened;
};

TEST_F(CookieManagerRules, ListsTheAddressesHoldingTheFilterInAnyCaseWithStatusPermissionAndNote) {
  Open("r=.random.test\r\np=kept.test\r\np=*name\r\n", "r=*shop\r\n");
  const Lines random = {".random.test", "Random", "", ""}, five = {"five.test", " ", "", ""},
              kept = {"kept.test", "Protect", "Block", ""}, name = {"name.test", "Protect", "", ""},
              value = {"value.test", " ", "", ""}, shop = {"Cookie:me@shop.site.test/", "Random", "", "ME@SHOP[1].TXT"},
              other = {"Cookie:me@other.test/", " ", "", "ME@OTHER[1].TXT"};
  const std::tuple<CookieTab, const char*, std::vector<Lines>, const char*> cases[] = {
      {CookieTab::Firefox, "", {random, five, kept, name, value}, "Displayed 5 of 5 Cookie Addresses"},
      {CookieTab::Firefox, " sess ", {name, value}, "Displayed 2 of 5 Cookie Addresses"},  // a name, a value
      {CookieTab::IENormal, "shop.", {shop}, "Displayed 1 of 2 Cookie Addreses"},
      {CookieTab::IEProtected, "nothing", {}, "Displayed 0 of 1 Cookie Addreses"},
  };
  for (const auto& [tab, filter, rows, count] : cases) {
    Show(tab, filter);
    std::vector<Lines> shown;
    for (const CookieAddress& item : manager->items()) shown.push_back(RowTexts(item));
    EXPECT_EQ(shown, rows) << filter;
    EXPECT_EQ(manager->CountText(), count) << filter;
  }
  EXPECT_EQ(window.shown, Lines{});
}

TEST_F(CookieManagerRules, EachActionSetsStatusCommentAndEntryAndDeletesOnlyWhatItMay) {
  using enum Act;
  using enum Answer;
  using enum DeleteResult;
  struct Case {
    const char* entries;
    std::vector<Act> acts;  // on kept.test
    Lines row;              // status and comment after
    Lines entriesAfter;
    size_t asked, deleted;
    Answer answer = Yes;
    DeleteResult store = Deleted;
  };
  const std::string gone = kOnlyInProtectFile;
  const Case cases[] = {
      {"", {Protect}, {"Protect", ""}, {"p=kept.test"}, 0, 0},
      // From its own Random entry the cookie goes, after a question; No leaves all as it was.
      {"r=kept.test", {Protect}, {"Protect", gone}, {"p=kept.test"}, 1, 1},
      {"r=kept.test", {Protect}, {"Random", ""}, {"r=kept.test"}, 1, 0, No},
      // A wildcard is no entry of the address's own: nothing asked, nothing deleted.
      {"r=*kept", {Protect}, {"Protect", ""}, {"p=kept.test", "r=*kept"}, 0, 0},
      // Once its cookies are gone, neither Protect nor Delete deletes again.
      {"r=kept.test", {Delete, Protect}, {"Protect", gone}, {"p=kept.test"}, 1, 1},
      {"", {Delete, Delete}, {" ", "Deleted"}, {}, 2, 1},
      {"p=kept.test", {Randomize}, {"Random", ""}, {"r=kept.test"}, 0, 0},
      {"r=kept.test", {Unprotect}, {" ", "Protect removed"}, {}, 0, 0},
      {"", {Delete}, {" ", ""}, {}, 1, 0, No},
      // A store's refusal, as the comment gives it.
      {"", {Delete}, {" ", "not deleted - Error-87"}, {}, 1, 1, Yes, SystemError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    firefox.refusal = {c.store, 87};
    firefox.deleted.clear();
    window = {};
    window.answers = {c.answer, c.answer};
    Open(c.entries);
    for (Act act : c.acts) Run(act, Of({"kept.test"}));
    Lines row = Row("kept.test");
    EXPECT_EQ((Lines{row[1], row[3]}), c.row);
    EXPECT_EQ(manager->firefoxList().entries, c.entriesAfter);
    EXPECT_EQ(window.asked.size(), c.asked);
    EXPECT_EQ(firefox.deleted.size(), c.deleted);
  }
}

TEST_F(CookieManagerRules, YesToAllHoldsForTheRunAndTheAdviceToUnprotectComesOncePerDelete) {
  Open("r=.random.test\r\nr=value.test\r\np=kept.test\r\n");
  window.answers = {Answer::YesToAll};
  Run(Act::Protect, Of({".random.test", "value.test"}));
  EXPECT_EQ(window.changed, Of({".random.test", "value.test"}));
  EXPECT_EQ(window.asked.size(), 1u);
  window.answers = {Answer::YesToAll};
  Run(Act::Delete, Of({"five.test", "kept.test", ".random.test", "value.test"}));
  const std::string advice =
      "Tidemark  -  Information Message|You must use UnProtect to Remove \r\nan entry from the Protect File.";
  EXPECT_EQ(window.shown, Lines{advice});  // once for both whose cookies went at Protect
  EXPECT_EQ(firefox.deleted, (Lines{".random.test", "value.test", "five.test", "kept.test"}));

  // A new window in the same run asks neither again.
  window = {};
  Open("r=name.test\r\n");
  Run(Act::Protect, Of({"name.test"}));
  Run(Act::Delete, Of({"kept.test", "name.test", "value.test"}));
  EXPECT_EQ(window.asked, Lines{});
  EXPECT_EQ(window.shown, Lines{advice});
}

TEST_F(CookieManagerRules, AnActionWithoutSelectionSaysSoAndOpenGivesOnlyAPlainHostToTheBrowser) {
  Open("");
  const std::string noneProtected = "Tidemark  -  Error Condition|No \"Protect\" entry selected for Unprotect function";
  Run(Act::Unprotect, {});
  Run(Act::Unprotect, Of({"five.test"}));  // nothing protected among them
  EXPECT_EQ(window.shown, Lines(2, noneProtected));

  // Only a plain host name goes to the browser; any other is refused with a message.
  window.shown.clear();
  for (const char* address : {"me@Sub-1.site.test", "me@site.test:8080", "me@site.test:123456",
                              "me@site.test:", "me@a b.test", "me@evil.test\" -profile x", "me@"}) {
    firefox.Add(address, {});
    Show(CookieTab::Firefox);
    Run(Act::OpenSite, Of({address}));
  }
  manager->OpenSite(Of({"five.test"}), [](const std::string&) { return false; });  // the browser did not start
  EXPECT_EQ(opened, (Lines{"Sub-1.site.test", "site.test:8080"}));
  EXPECT_EQ(window.shown, Lines(6, "Tidemark  -  Error Condition|Unable to execute FireFox to Open the web domain"));
}

TEST_F(CookieManagerRules, WhileTheBrowserRunsItsStoreTakesNoDeletionAndItsButtonsSaySo) {
  Open("r=kept.test\r\n");
  firefox.inUse = true;
  Run(Act::Delete, Of({"five.test"}));
  Run(Act::Block, Of({"five.test"}));
  EXPECT_EQ(window.asked.size() + window.shown.size() + firefox.deleted.size(), 0u);
  EXPECT_EQ(Row("five.test"), (Lines{"five.test", " ", "", ""}));
  // The menu's hints, the enabled buttons' texts and the window's buttons are the app's tests'.
  const std::tuple<CookieTab, bool, StoreAction, bool, const char*> states[] = {
      {CookieTab::Chromium, true, StoreAction::Delete, true, ""},
      {CookieTab::Chromium, false, StoreAction::Allow, false,
       "\"Allow\" Button Disabled - Chromium keeps its own Site Settings"},
  };
  for (const auto& [tab, firefoxRuns, action, enabled, disabledHint] : states) {
    firefox.inUse = firefoxRuns;
    Show(tab);
    ActionState state = manager->StateOf(action);
    EXPECT_EQ(std::pair(state.enabled, enabled ? "" : state.buttonHint), std::pair(enabled, std::string(disabledHint)))
        << int(tab) << " " << int(action);
  }
  // A permission the browser refused stays as it was.
  ieProtected.refusesPermission = {"Cookie:me@low.test/"};
  Show(CookieTab::IEProtected);
  Run(Act::Block, Of({"Cookie:me@low.test/"}));
  Run(Act::Delete, Of({"Cookie:me@low.test/"}));
  EXPECT_EQ(Row("Cookie:me@low.test/"), (Lines{"Cookie:me@low.test/", " ", "", "Deleted"}));

  // Chromium's tab shares the Firefox list; its encrypted values cannot be scrambled.
  chromium.Add("kept.test", {{"kept.test", "sid", "(encrypted)"}}, "Google Chrome - Default");
  chromium.Add("new.test", {{"new.test", "a", "(encrypted)"}}, "Microsoft Edge - Default");
  Show(CookieTab::Chromium);
  EXPECT_EQ(Row("kept.test"), (Lines{"kept.test", "Random", "", "Google Chrome - Default"}));
  Run(Act::Randomize, Of({"new.test"}));
  EXPECT_EQ(Row("new.test")[1], " ");
  Run(Act::Protect, Of({"new.test"}));
  EXPECT_EQ(Row("new.test")[1], "Protect");
  EXPECT_EQ(manager->firefoxList().entries, (Lines{"p=new.test", "r=kept.test"}));
  EXPECT_EQ(manager->CountText(), "Displayed 2 of 2 Cookie Addresses");
}

TEST_F(CookieManagerRules, AnActionRunsAloneAndTheListsAreWrittenOnlyWhenChangedAndReadable) {
  files.unreadable = {kFirefoxList};
  Open("p=kept.test\r\n", "p=cookie:me@other.test/\r\n");
  EXPECT_EQ(window.shown, (Lines{"Tidemark  -  Message|Unable to open exsting FireFox Protect file - " + kFirefoxList +
                                 "\r\n\r\nAny changes made here will be discarded..."}));
  // While a question is open nothing else runs: not another action, a refresh, a tab change, an edit or a close.
  std::vector<bool> refused;
  window.during = [&] {
    size_t shown = window.shown.size();
    Run(Act::Randomize, Of({"five.test"}));
    refused = {window.shown.size() == shown, !manager->Refresh(""), !manager->SelectTab(CookieTab::IENormal),
               !manager->EditList([](const Lines& entries) { return entries; }), !manager->Close()};
  };
  Run(Act::Delete, Of({"five.test"}));
  EXPECT_EQ(refused, std::vector<bool>(5, true));
  EXPECT_FALSE(manager->busy());
  EXPECT_EQ(Row("five.test"), (Lines{"five.test", " ", "", "Deleted"}));
  window.during = nullptr;

  Run(Act::Randomize, Of({"name.test"}));
  EXPECT_FALSE(manager->EditList([](const Lines& entries) { return entries; }));
  Show(CookieTab::IENormal);
  EXPECT_EQ(Row("Cookie:me@other.test/")[1], "Protect");
  EXPECT_TRUE(manager->EditList([](Lines entries) {
    entries.insert(entries.begin(), "r=cookie:me@shop.site.test/");
    return entries;
  }));
  EXPECT_EQ(manager->ieList().entries, (Lines{"p=cookie:me@other.test/", "r=cookie:me@shop.site.test/"}));
  Show(CookieTab::IEProtected);  // writes the IE list
  EXPECT_EQ(files.ReadFile(kIEList), "p=cookie:me@other.test/\r\nr=cookie:me@shop.site.test/\r\n");
  CookieManager::Selection low = Of({"Cookie:me@low.test/"});
  Run(Act::Protect, low);
  EXPECT_TRUE(manager->Close());
  EXPECT_FALSE(manager->Close());
  size_t shown = window.shown.size();
  Run(Act::Unprotect, low);  // refused once closed
  EXPECT_EQ(window.shown.size(), shown);
  EXPECT_EQ(files.ReadFile(kIEList),
            "p=cookie:me@low.test/\r\np=cookie:me@other.test/\r\nr=cookie:me@shop.site.test/\r\n");
  files.unreadable.clear();
  EXPECT_EQ(files.ReadFile(kFirefoxList), "p=kept.test\r\n");
}

}  // namespace
}  // namespace tidemark::cookies
