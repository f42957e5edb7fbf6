// The cookie manager in-process (under Xvfb) over scratch Firefox and
// Internet Explorer stores: a real cookies.sqlite and permissions.sqlite,
// real index files with their cookie files, protect files in a scratch data
// folder. Confirmations and messages are answered from a timer, as a user would.
#include "app/cookie_form_win.h"

#include <gtest/gtest.h>

#include <tuple>

#include "cookies/user_messages_win.h"
#include "firefox/firefox_databases.h"
#include "ie/ie_store_win.h"
#include "platform/files_win.h"
#include "support/sandbox_win.h"
#include "support/when_ready_win.h"

namespace tidemark::app {
namespace {

using Lines = std::vector<std::string>;
using Row = TCookieForm::Row;

// Every message box shown, as "caption|text"; each answered with the button
// given for its caption (OK otherwise). Runs before the answer: `during`.
struct Boxes {
  Lines shown;
  std::map<std::string, int> answers;
  std::function<void()> during;
  void Watch() {
    test::WhenReady([this] {
      HWND box = nullptr;
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND window, LPARAM found) {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&box));
      if (!box) return false;
      std::string caption = gui::WindowText(box);
      shown.push_back(caption + "|" + gui::WindowText(GetDlgItem(box, 0xFFFF)));
      if (during) during();
      auto answer = answers.find(caption);
      PostMessageA(box, WM_COMMAND, answer == answers.end() ? IDOK : answer->second, 0);
      ShowWindow(box, SW_HIDE);  // seen once
      return false;
    });
  }
};

std::string CookieRow(const std::string& host, const std::string& name, const std::string& value) {
  return "('" + host + "', '" + name + "', '" + value + "'";
}

class CookieManager : public ::testing::Test {
 protected:
  CookieManager() {
    gui::InitCommonControls();
    std::string profile = folder / "profile";
    files.CreateFolders(profile);
    firefox.FirefoxProfileFolder = profile;
    firefox.CookiesSqliteFile = profile + "\\cookies.sqlite";
    firefox.PermissionsFile = profile + "\\permissions.sqlite";
    firefox.FirefoxSqliteFormat = firefox.CookiesSqlitePresent = firefox.PermissionsSqlitePresent = true;
    test::BuildDatabase(firefox.CookiesSqliteFile, test::kCurrentCookiesSchema);
    test::BuildDatabase(firefox.PermissionsFile,
                        {"CREATE TABLE moz_perms ( id INTEGER PRIMARY KEY,origin TEXT,type TEXT,permission "
                         "INTEGER,expireType INTEGER,expireTime INTEGER,modificationTime INTEGER)"});
    std::string insert =
        "INSERT INTO moz_cookies(host, name, value, path, expiry, lastAccessed, creationTime, isSecure, isHttpOnly) "
        "VALUES ";
    Lines rows;
    for (int i = 0; i < 5; ++i) rows.push_back(CookieRow("five.test", "n" + std::to_string(i), "v"));
    for (const auto& [host, name, value] : {std::tuple{".sess.test", "id", "1"}, {"name.test", "SESSION", "x"},
                                            {"value.test", "id", "xSeSSy"}, {".random.test", "id", "abc"},
                                            {"kept.test", "k", "v"}})
      rows.push_back(CookieRow(host, name, value));
    for (std::string& row : rows) row += ", '/', 4102444800, 0, 0, 0, 0)";
    for (size_t i = 0; i < rows.size(); ++i) insert += (i ? ", " : "") + rows[i];
    firefox::TSQLiteDatabase(firefox.CookiesSqliteFile).Execute(insert);

    ie.IECookiesFolder = folder / "Cookies";
    ie.LowCookiesFolder = folder / "Cookies\\Low";
    ie::WriteStore(ie.IECookiesFolder,
                   {{"Cookie:me@shop.site.test/", "me@shop[1].txt", true, 0, ie::kCookieText},
                    {"Cookie:me@other.test/", "me@other[1].txt", true, 0,
                     "token\nplain\nother.test/\n1024\n1\n2\n3\n4\n*\n"},
                    {"http://cache.test/page", "page[1].htm"}},
                   false, test::FileTimeNow());
    ie::WriteStore(ie.LowCookiesFolder, {{"Cookie:me@low.test/", "me@low[1].txt", true, 0, ie::kCookieText}}, false,
                   test::FileTimeNow());
    files.WriteFile(firefoxProtect, "r=.random.test\r\np=kept.test\r\n");
    files.WriteFile(ieProtect, "");
  }
  ~CookieManager() override {
    test::PendingAction() = nullptr;
    form.reset();
    permissions.Close();
    gui::PumpPendingMessages();
  }
  void Open() {
    boxes.Watch();
    permissions.Load(files, firefox, messages);
    form = std::make_unique<TCookieForm>(context);
    form->Create(nullptr);
    form->FormActivate();
  }
  Lines Captions() {
    Lines captions;
    for (const Row& row : form->Rows()) captions.push_back(row.caption);
    return captions;
  }
  int RowOf(const std::string& caption) {
    Lines captions = Captions();
    return static_cast<int>(std::find(captions.begin(), captions.end(), caption) - captions.begin());
  }
  Row RowNamed(const std::string& caption) { return form->Rows().at(static_cast<size_t>(RowOf(caption))); }
  void Select(std::initializer_list<const char*> captions) {
    std::vector<int> rows;
    for (const char* caption : captions) rows.push_back(RowOf(caption));
    form->SelectRows(rows);
  }
  int64_t CookiesOf(const std::string& host) {
    return test::QueryCount(firefox.CookiesSqliteFile, "SELECT * FROM moz_cookies WHERE host = '" + host + "'");
  }
  void Filter(const char* text) {
    SetWindowTextA(form->filterEdit(), text);
    form->RefreshBtnClick();
  }

  test::TempFolder folder;
  platform::FileSystem& files = platform::RealFileSystem();
  test::TempRegistryKey history;
  locations::FirefoxLocations firefox;
  locations::IELocations ie;
  std::string firefoxProtect = folder / "Tidemark.Dat", ieProtect = folder / "IEcookie.dat";
  firefox::FirefoxSitePermissions permissions;
  cookies::MessageBoxMessages messages{nullptr};
  ie::IEPermissions iePermissions{platform::RealRegistry(), history.path()};
  CookieConfirmations confirmations;
  settings::FontSettings fonts;
  bool firefoxRunning = false;
  Lines opened;
  Boxes boxes;
  CookieFormContext context{
      .files = files,
      .memory = platform::RealSharedMemory(),
      .firefox = firefox,
      .ie = ie,
      .firefoxProtectFile = firefoxProtect,
      .ieProtectFile = ieProtect,
      .firefoxPermissions = permissions,
      .iePermissions = iePermissions,
      .confirmations = confirmations,
      .fonts = fonts,
      .protectedMode = true,
      .firefoxRunning = [this] { return firefoxRunning; },
      .openInFirefox =
          [this](const std::string& address) {
            opened.push_back(address);
            return true;
          },
  };
  std::unique_ptr<TCookieForm> form;
};

TEST_F(CookieManager, ListsEachAddressOnceCountsAndFiltersOnHostNameAndValue) {
  Open();
  EXPECT_EQ(form->ColumnTitle(0), "Internet Address for FireFox Cookie");
  EXPECT_EQ(Captions(), (Lines{".random.test", ".sess.test", "five.test", "kept.test", "name.test", "value.test"}));
  EXPECT_EQ(form->CountText(), "Displayed 6 of 6 Cookie Addresses");
  EXPECT_EQ(RowNamed(".random.test").status, "Random");
  EXPECT_EQ(RowNamed("kept.test").status, "Protect");
  Select({"five.test"});
  EXPECT_EQ(form->DetailRows().size(), 5u);
  EXPECT_EQ(form->DetailRows()[0], (Lines{"five.test", "n0", "v"}));

  Filter(" sess ");
  EXPECT_EQ(Captions(), (Lines{".sess.test", "name.test", "value.test"}));
  EXPECT_EQ(form->CountText(), "Displayed 3 of 6 Cookie Addresses");

  Filter("PLAIN");
  form->TabControlCookChange(1);
  EXPECT_EQ(form->ColumnTitle(0), "Internet Address for \"I.E. Normal Mode\"");
  EXPECT_EQ(form->ColumnTitle(3), "Local File");
  EXPECT_EQ(form->Rows(), (std::vector<Row>{{"Cookie:me@other.test/", " ", "", "ME@OTHER[1].TXT"}}));
  EXPECT_EQ(form->CountText(), "Displayed 1 of 2 Cookie Addreses");
  Filter("");
  Select({"Cookie:me@shop.site.test/"});
  EXPECT_EQ(form->DetailRows(), (std::vector<Lines>{{"site.test", "SID", "Abc123XyZ"}, {"site.test", "pref", "id=99;lang=en"}}));
  form->TabControlCookChange(2);
  EXPECT_EQ(Captions(), (Lines{"Cookie:me@low.test/"}));
  EXPECT_EQ(boxes.shown, Lines{});
}

TEST_F(CookieManager, ProtectOnRandomAsksOnceThenYesToAllHoldsAndTheCookieGoes) {
  boxes.answers["Tidemark  -  Random to Protect Confirmation"] = cookies::kConfirmYesToAll;
  Open();
  Select({".random.test"});
  form->RandomSbtnClick();  // already Random: nothing changes
  Select({"value.test"});
  form->RandomSbtnClick();
  EXPECT_EQ(RowNamed("value.test").status, "Random");
  Select({".random.test", "value.test"});
  form->Protect1Click();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].substr(0, boxes.shown[0].find('\r')),
            "Tidemark  -  Random to Protect Confirmation|When changing from \"Random\" to \"Protect\"");
  EXPECT_TRUE(confirmations.randomToProtectYesToAll);
  for (const char* host : {".random.test", "value.test"}) {
    EXPECT_EQ(RowNamed(host).status, "Protect");
    EXPECT_EQ(RowNamed(host).comment, kOnlyInProtectFile);
    EXPECT_EQ(CookiesOf(host), 0);
  }
  EXPECT_EQ(form->firefoxList().entries, (Lines{"p=.random.test", "p=kept.test", "p=value.test"}));
  EXPECT_TRUE(form->CloseCookBtnClick());
  EXPECT_EQ(files.ReadFile(firefoxProtect), "p=.random.test\r\np=kept.test\r\np=value.test\r\n");
}

TEST_F(CookieManager, DeletingAProtectedItemKeepsItsEntryAndThenAdvisesUnprotect) {
  boxes.answers["Tidemark  -  Delete Confirmation"] = cookies::kConfirmYes;
  Open();
  Select({"kept.test", "five.test"});
  form->DeleteSBtnClick();
  EXPECT_EQ(RowNamed("kept.test").comment, kOnlyInProtectFile);
  EXPECT_EQ(RowNamed("kept.test").status, "Protect");
  EXPECT_EQ(RowNamed("five.test").comment, "Deleted");
  EXPECT_EQ(CookiesOf("kept.test") + CookiesOf("five.test"), 0);
  Select({"kept.test", ".random.test"});
  form->DeleteSBtnClick();  // .random.test goes, kept.test is advised about once
  Select({"kept.test"});
  form->DeleteSBtnClick();
  Lines advice;
  for (const std::string& box : boxes.shown)
    if (box.starts_with("Tidemark  -  Information Message|")) advice.push_back(box);
  EXPECT_EQ(advice, (Lines{"Tidemark  -  Information Message|You must use UnProtect to Remove \r\nan entry from the "
                           "Protect File.",
                           "Tidemark  -  Information Message|You must use UnProtect to Remove \r\nan entry from the "
                           "Protect File."}));
  EXPECT_EQ(boxes.shown.front().substr(0, boxes.shown.front().find("\r")),
            "Tidemark  -  Delete Confirmation|For your request to delete the 2 selected entries,");
  EXPECT_EQ(form->firefoxList().entries, (Lines{"p=kept.test", "r=.random.test"}));

  form->UnProtect1Click();
  EXPECT_EQ(RowNamed("kept.test").status, " ");
  EXPECT_EQ(RowNamed("kept.test").comment, "Protect removed");
  EXPECT_EQ(form->firefoxList().entries, (Lines{"r=.random.test"}));
}

TEST_F(CookieManager, ADeleteTheDatabaseRefusesLeavesTheItemAndSaysSo) {
  boxes.answers["Tidemark  -  Delete Confirmation"] = cookies::kConfirmYesToAll;
  Open();
  HANDLE held = CreateFileA(firefox.CookiesSqliteFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Select({"name.test"});
  form->DeleteSBtnClick();
  CloseHandle(held);
  EXPECT_EQ(RowNamed("name.test").comment, "not deleted - Cookies file not changed");
  EXPECT_EQ(CookiesOf("name.test"), 1);
  EXPECT_EQ(boxes.shown.back(), "Tidemark -  Message|Delete Entry from Cookies file failed... \r\nExecution will continue...");
  EXPECT_TRUE(confirmations.deleteYesToAll);
  // The IE tab deletes the record and its cookie file.
  form->TabControlCookChange(1);
  Select({"Cookie:me@other.test/"});
  form->DeleteSBtnClick();
  EXPECT_EQ(RowNamed("Cookie:me@other.test/").comment, "Deleted");
  EXPECT_EQ(ie::UrlsIn(ie.IECookiesFolder), (Lines{"Cookie:me@shop.site.test/", "http://cache.test/page"}));
  EXPECT_FALSE(ie::Exists(ie.IECookiesFolder + "\\me@other[1].txt"));
}

TEST_F(CookieManager, PermissionButtonsFollowTheTabAndFirefoxActivity) {
  firefoxRunning = true;
  Open();
  for (HWND button : {form->blockButton(), form->allowButton(), form->sessionButton(), form->removeButton()})
    EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_EQ(form->HintOf(form->blockButton()), "\"Block\" Button Disabled - FireFox is Active");
  form->TabControlCookChange(1);
  EXPECT_TRUE(IsWindowEnabled(form->blockButton()));
  EXPECT_TRUE(IsWindowEnabled(form->allowButton()));
  EXPECT_TRUE(IsWindowEnabled(form->removeButton()));
  EXPECT_FALSE(IsWindowEnabled(form->sessionButton()));
  Select({"Cookie:me@shop.site.test/"});
  form->SetCookiePermission(cookies::PermissionChange::Block);
  EXPECT_EQ(RowNamed("Cookie:me@shop.site.test/").permission, "Block");
  EXPECT_EQ(iePermissions.Find("Cookie:x@site.test/"), "Block");

  firefoxRunning = false;
  form->TabControlCookChange(0);
  EXPECT_TRUE(IsWindowEnabled(form->sessionButton()));
  Select({".sess.test"});
  form->SetCookiePermission(cookies::PermissionChange::Session);
  EXPECT_EQ(RowNamed(".sess.test").permission, "Session");
  EXPECT_EQ(test::QueryCount(firefox.PermissionsFile, "SELECT * FROM moz_perms WHERE permission = 8"), 2);
  form->RefreshBtnClick();
  EXPECT_EQ(RowNamed(".sess.test").permission, "Session");
}

TEST_F(CookieManager, OpenStartsFirefoxOnlyOnAPlainHostName) {
  firefox::TSQLiteDatabase(firefox.CookiesSqliteFile)
      .Execute("INSERT INTO moz_cookies(host, name, value, path, expiry, lastAccessed, creationTime, isSecure, "
               "isHttpOnly) VALUES('evil.test\" -profile x', 'n', 'v', '/', 4102444800, 0, 0, 0, 0)");
  Open();
  Select({".sess.test"});
  form->OpenSbtnClick();
  Select({"evil.test\" -profile x"});
  form->OpenSbtnClick();
  form->TabControlCookChange(1);
  Select({"Cookie:me@shop.site.test/"});
  form->OpenSbtnClick();
  EXPECT_EQ(opened, (Lines{"sess.test", "shop.site.test"}));
  EXPECT_EQ(boxes.shown, (Lines{"Tidemark  -  Error Condition|Unable to execute FireFox to Open the web domain"}));
}

TEST_F(CookieManager, CloseIsRefusedWhileBusyAndThenWritesTheChangedLists) {
  boxes.answers["Tidemark  -  Delete Confirmation"] = cookies::kConfirmNo;
  Open();
  bool closedDuring = true;
  boxes.during = [&] { closedDuring = form->CloseCookBtnClick(); };
  Select({"name.test"});
  form->RandomSbtnClick();
  form->DeleteSBtnClick();
  EXPECT_FALSE(closedDuring);
  EXPECT_FALSE(form->closed());
  EXPECT_EQ(CookiesOf("name.test"), 1);  // "No" deleted nothing
  form->TabControlCookChange(1);
  Select({"Cookie:me@other.test/"});
  form->Protect1Click();
  boxes.during = nullptr;
  EXPECT_TRUE(form->CloseCookBtnClick());
  EXPECT_EQ(files.ReadFile(firefoxProtect), "p=kept.test\r\nr=.random.test\r\nr=name.test\r\n");
  EXPECT_EQ(files.ReadFile(ieProtect), "p=cookie:me@other.test/\r\n");
}

TEST_F(CookieManager, AnUnreadableProtectListIsNeverWrittenBack) {
  HANDLE held = CreateFileA(firefoxProtect.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  boxes.answers["Tidemark  -  Random to Protect Confirmation"] = cookies::kConfirmYesToAll;
  Open();
  Select({"name.test", ".random.test"});
  form->Protect1Click();  // the list is empty: nothing is Random
  form->EditSbtnClick();
  EXPECT_TRUE(form->CloseCookBtnClick());
  CloseHandle(held);
  EXPECT_EQ(files.ReadFile(firefoxProtect), "r=.random.test\r\np=kept.test\r\n");
  EXPECT_EQ(boxes.shown,
            (Lines{"Tidemark  -  Message|Unable to open exsting FireFox Protect file - " + firefoxProtect +
                       "\r\n\r\nAny changes made here will be discarded...",
                   "Tidemark  -  Message|Unable to open exsting FireFox Protect file - \r\n" + firefoxProtect}));
}

}  // namespace
}  // namespace tidemark::app
