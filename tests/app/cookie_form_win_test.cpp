// The cookie manager window in-process (under Xvfb) over real scratch stores; message boxes are answered as a user
// would. Its rules are tested natively (tests/cookies/cookie_manager_test.cpp).
#include "app/cookie_form_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "cookies/user_messages_win.h"
#include "firefox/firefox_databases.h"
#include "help/cookie_help_win.h"
#include "help/help_topics.h"
#include "ie/ie_store_win.h"
#include "platform/files_win.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"
#include "support/when_ready_win.h"

namespace tidemark::app {
namespace {

using Lines = std::vector<std::string>;
using Row = Lines;  // address, status, permission, comment
using cookies::kOnlyInProtectFile;
constexpr const char* kDeleteConfirmation = "Tidemark  -  Delete Confirmation";

// Names of the files the deletion engine overwrote (shredded).
struct ShredWatch : platform::Win32FileSystem {
  std::unique_ptr<platform::ExclusiveFile> OpenExclusive(const std::string& path) override {
    shredded.push_back(FileNameOf(path));
    return Win32FileSystem::OpenExclusive(path);
  }
  Lines shredded;
};

class CookieManager : public ::testing::Test {
 protected:
  CookieManager() {
    gui::InitCommonControls();
    files.CreateFolders(profile);
    firefox.FirefoxProfileFolder = profile;
    firefox.CookiesSqliteFile = profile + "\\cookies.sqlite";
    firefox.PermissionsFile = profile + "\\permissions.sqlite";
    firefox.FirefoxSqliteFormat = firefox.CookiesSqlitePresent = firefox.PermissionsSqlitePresent = true;
    test::BuildDatabase(firefox.CookiesSqliteFile, test::kCurrentCookiesSchema);
    test::BuildDatabase(firefox.PermissionsFile,
                        {"CREATE TABLE moz_perms ( id INTEGER PRIMARY KEY,origin TEXT,type TEXT,permission "
                         "INTEGER,expireType INTEGER,expireTime INTEGER,modificationTime INTEGER)"});
    // Some in a container or a private window; all in the log alone, as a Firefox that stopped before copying it
    // into the database left them.
    test::WriteWithoutCheckpoint(
        firefox.CookiesSqliteFile,
        {"INSERT INTO moz_cookies(host, name, value, originAttributes) VALUES ('five.test', 'n0', 'v', ''), "
         "('five.test', 'n0', 'w', '^userContextId=2'), ('five.test', 'n1', 'v', ''), ('five.test', 'n2', 'v', ''), "
         "('five.test', 'n3', 'v', ''), ('five.test', 'n4', 'v', ''), ('.sess.test', 'id', '1', ''), ('name.test', "
         "'SESSION', 'x', ''), ('value.test', 'id', 'xSeSSy', ''), ('.random.test', 'id', 'abc', ''), "
         "('.random.test', 'id', 'abc', '^privateBrowsingId=1'), ('kept.test', 'k', 'v', '')"});
    ie.IECookiesFolder = f.scratch / "Cookies";
    ie.LowCookiesFolder = f.scratch / "Cookies\\Low";
    ie::WriteStore(
        ie.IECookiesFolder,
        {{"Cookie:me@shop.site.test/", "me@shop[1].txt", true, 0, ie::kCookieText},
         {"Cookie:me@other.test/", "me@other[1].txt", true, 0, "token\nplain\nother.test/\n1024\n1\n2\n3\n4\n*\n"},
         {"http://cache.test/page", "page[1].htm"}},
        false, test::FileTimeNow());
    ie::WriteStore(ie.LowCookiesFolder, {{"Cookie:me@low.test/", "me@low[1].txt", true, 0, ie::kCookieText}}, false,
                   test::FileTimeNow());
    files.WriteFile(firefoxProtect, "r=.random.test\r\np=kept.test\r\n");
    files.WriteFile(ieProtect, "");
    context.purgeResources = [this] { return f.Resources(); };
    context.protectedMode = true;
    context.firefoxRunning = [this] { return firefoxRunning; };
    context.openInFirefox = [this](const std::string& site) { return opened.push_back(site), true; };
    context.help = [this](std::string_view topic) { helpTopics.emplace_back(topic); };
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
    for (const Row& row : form->Rows()) captions.push_back(row[0]);
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

  ShredWatch files;
  test::PurgeFixture f{{&files}};
  locations::FirefoxLocations& firefox = f.firefox;
  locations::IELocations& ie = f.ie;
  std::string profile = f.scratch / "profile", firefoxProtect = f.scratch / "Tidemark.Dat",
              ieProtect = f.scratch / "IEcookie.dat";
  test::TempRegistryKey history;
  firefox::FirefoxSitePermissions permissions;
  cookies::MessageBoxMessages messages{nullptr};
  ie::IEPermissions iePermissions{platform::RealRegistry(), history.path()};
  cookies::CookieConfirmations confirmations;
  settings::FontSettings fonts;
  bool firefoxRunning = false;
  Lines opened, helpTopics;
  test::MessageBoxes boxes;
  CookieFormContext context =
      CookieFormContext(files, platform::RealSharedMemory(), firefox, ie, firefoxProtect, ieProtect, permissions,
                        iePermissions, confirmations, f.state, nullptr, fonts);
  std::unique_ptr<TCookieForm> form;
};

TEST_F(CookieManager, ListsEachAddressOnceFiltersAndSortsByTheClickedColumn) {
  ASSERT_EQ(files.ReadFile(firefox.CookiesSqliteFile).value_or("xSeSSy").find("xSeSSy"), std::string::npos)
      << "the cookies are in the log alone";
  Open();
  EXPECT_EQ(Captions(), (Lines{".random.test", ".sess.test", "five.test", "kept.test", "name.test", "value.test"}));
  Select({"five.test"});
  EXPECT_EQ(form->DetailRows().size(), 6u);
  EXPECT_EQ(form->DetailRows()[1], (Lines{"five.test", "n0", "w"})) << "a container's own";

  // The status column, ascending then descending, ties by caption.
  const std::pair<int, Lines> clicks[] = {
      {1, {".sess.test", "five.test", "name.test", "value.test", "kept.test", ".random.test"}},
      {1, {".random.test", "kept.test", ".sess.test", "five.test", "name.test", "value.test"}},
      {0, {"value.test", "name.test", "kept.test", "five.test", ".sess.test", ".random.test"}},
  };
  for (const auto& [column, order] : clicks) {
    form->ListView1ColumnClick(column);
    EXPECT_EQ(Captions(), order) << column;
  }

  Filter("PLAIN");
  form->TabControlCookChange(1);
  EXPECT_EQ(form->Rows(), (std::vector<Row>{{"Cookie:me@other.test/", " ", "", "ME@OTHER[1].TXT"}}));
  Filter("");
  Select({"Cookie:me@shop.site.test/"});
  EXPECT_EQ(form->DetailRows(),
            (std::vector<Lines>{{"site.test", "SID", "Abc123XyZ"}, {"site.test", "pref", "id=99;lang=en"}}));
  form->TabControlCookChange(2);
  EXPECT_EQ(Captions(), (Lines{"Cookie:me@low.test/"}));
  EXPECT_EQ(boxes.shown, Lines{});
}

// The popup menu's items, the keys and the boxes reach the rules; the rows show what they did.
TEST_F(CookieManager, MenuKeysAndBoxesDriveTheActionsAndTheRowsAndStoresFollow) {
  boxes.answers["Tidemark  -  Random to Protect Confirmation"] = cookies::kConfirmYesToAll;
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYes;
  Open();
  const std::tuple<const char*, std::initializer_list<const char*>, Row> items[] = {
      {"Protect", {".random.test"}, {".random.test", "Protect", "", kOnlyInProtectFile}},
      {"Delete", {"five.test"}, {"five.test", " ", "", "Deleted"}},
      {"Block", {"five.test"}, {"five.test", " ", "Block", "Deleted"}},
      {"Remove", {"five.test"}, {"five.test", " ", "", "Deleted"}},
      {"Open", {".sess.test"}, {".sess.test", " ", "", ""}},
  };
  HMENU popup = form->popupMenu();
  for (const auto& [text, selection, row] : items) {
    int item = 0;
    for (char caption[32]; GetMenuStringA(popup, static_cast<UINT>(item), caption, sizeof caption, MF_BYPOSITION) &&
                           caption != std::string(text);)
      ++item;
    Select(selection);
    SendMessageA(form->hwnd(), WM_COMMAND, GetMenuItemID(popup, item), 0);
    EXPECT_EQ(RowNamed(row[0]), row) << text;
  }
  EXPECT_EQ(CookiesOf(".random.test") + CookiesOf("five.test"), 0);
  EXPECT_EQ(permissions.Find("five.test"), std::nullopt);
  EXPECT_EQ(opened, Lines{"sess.test"});

  // Shift+F10, Down and Return: the first item, Protect, on the selection.
  Select({"name.test"});
  test::WhenReady([this] {
    if (!test::ThreadWindow("#32768")) return false;
    for (WPARAM key : {VK_DOWN, VK_RETURN}) PostMessageA(form->hwnd(), WM_KEYDOWN, key, 0);
    return true;
  });
  SendMessageA(form->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->listView1()), -1);
  gui::PumpPendingMessages();
  EXPECT_EQ(RowNamed("name.test")[1], "Protect");
  boxes.Watch();  // the menu's action took its place

  // Ctrl+A and Delete in the address list: one question for all; No deletes nothing.
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmNo;
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG ctrlA{form->listView1(), WM_KEYDOWN, 'A', 0}, deleteKey{form->listView1(), WM_KEYDOWN, VK_DELETE, 0};
  EXPECT_TRUE(form->PreTranslate(ctrlA));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_TRUE(form->PreTranslate(deleteKey));
  EXPECT_TRUE(boxes.shown.back().starts_with(std::string(kDeleteConfirmation) +
                                             "|For your request to delete the 6 selected entries,\r\n"));
  EXPECT_EQ(CookiesOf("name.test"), 1);
  EXPECT_TRUE(form->CloseCookBtnClick());
  EXPECT_TRUE(form->closed());
}

TEST_F(CookieManager, DeletesShredWithSecureEraseAndSpareARefusedItemAndACookieGivenAReusedId) {
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYesToAll;
  f.state.flags.secureErase = true;
  Open();
  HANDLE held = CreateFileA(firefox.CookiesSqliteFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Select({"name.test"});
  form->DeleteSBtnClick();
  CloseHandle(held);
  EXPECT_EQ(RowNamed("name.test")[3], "not deleted - Cookies file not changed");
  EXPECT_EQ(CookiesOf("name.test"), 1);
  EXPECT_EQ(boxes.shown.back(),
            "Tidemark -  Message|Delete Entry from Cookies file failed... \r\nExecution will continue...");
  {
    // Firefox drops kept.test's cookie, the last row, and SQLite gives its id to the next one.
    firefox::TSQLiteDatabase database(firefox.CookiesSqliteFile);
    database.Execute("DELETE FROM moz_cookies WHERE host = 'kept.test'");
    database.Execute("INSERT INTO moz_cookies(host, name, value) VALUES ('bank.test', 'k', 'secret')");
  }
  ASSERT_EQ(test::QueryText(firefox.CookiesSqliteFile, "SELECT id FROM moz_cookies WHERE host = 'bank.test'"), "12");
  Select({"kept.test"});
  form->DeleteSBtnClick();
  EXPECT_EQ(CookiesOf("bank.test"), 1);
  Select({"value.test"});
  form->DeleteSBtnClick();
  EXPECT_EQ(files.ReadFile(firefox.CookiesSqliteFile).value_or("xSeSSy").find("xSeSSy"), std::string::npos);
  // The IE tab deletes the record and shreds its cookie file (after the log of each Firefox deletion).
  form->TabControlCookChange(1);
  Select({"Cookie:me@other.test/"});
  form->DeleteSBtnClick();
  EXPECT_EQ(ie::UrlsIn(ie.IECookiesFolder), (Lines{"Cookie:me@shop.site.test/", "http://cache.test/page"}));
  EXPECT_EQ(files.shredded, (Lines{"cookies.sqlite-wal", "cookies.sqlite-wal", "ME@OTHER[1].TXT"}));
}

// Chromium's tab: every browser's and profile's hosts, deleted from each database by the keyboard; its values and
// site settings stay out of reach.
TEST_F(CookieManager, TheChromiumTabListsTheHostsOfEveryProfileAndDeletesThemFromEach) {
  // Chrome's "Profile 10" comes before its "Profile 1": the note names each whole.
  const std::tuple<const char*, const char*, const char*> profiles[] = {
      {"Google Chrome", "Profile 10", "('.shared.test', 'a'), ('.shared.test', 'b'), ('kept.test', 'k')"},
      {"Google Chrome", "Profile 1", "('.shared.test', 'd')"},
      {"Microsoft Edge", "Default", "('.shared.test', 'c'), ('edge.test', 'e')"}};
  for (const auto& [name, profileName, rows] : profiles) {
    const std::string folder = f.scratch / (std::string(name) + "\\" + profileName);
    files.CreateFolders(folder + "\\Network");
    test::BuildDatabase(
        folder + "\\Network\\Cookies",
        {"CREATE TABLE cookies(creation_utc INTEGER NOT NULL DEFAULT 0,host_key TEXT NOT NULL,"
         "top_frame_site_key TEXT NOT NULL DEFAULT '',name TEXT NOT NULL,value TEXT NOT NULL DEFAULT '',"
         "encrypted_value BLOB NOT NULL DEFAULT x'763130')",
         (std::string("INSERT INTO cookies(host_key, name) VALUES ") + rows).c_str()});
    if (f.chromium.empty() || f.chromium.back().name != name)
      f.chromium.push_back({name, f.scratch / name, f.scratch / name, "none.exe", {}});
    f.chromium.back().profiles.push_back({folder, folder});
  }
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYes;
  Open();
  form->TabControlCookChange(3);
  EXPECT_EQ(form->Rows(),
            (std::vector<Row>{{".shared.test", " ", "",
                               "Google Chrome - Profile 10, Google Chrome - Profile 1, Microsoft Edge - Default"},
                              {"edge.test", " ", "", "Microsoft Edge - Default"},
                              {"kept.test", "Protect", "", "Google Chrome - Profile 10"}}));
  Select({".shared.test"});
  EXPECT_EQ(form->DetailRows()[0], (Lines{".shared.test", "a", "(encrypted)"}));
  MSG deleteKey{form->listView1(), WM_KEYDOWN, VK_DELETE, 0};
  EXPECT_TRUE(form->PreTranslate(deleteKey));
  EXPECT_EQ(RowNamed(".shared.test")[3], "Deleted");
  for (const auto& [name, profileName, rows] : profiles)
    EXPECT_EQ(test::QueryCount(f.scratch / (std::string(name) + "\\" + profileName + "\\Network\\Cookies"),
                               "SELECT * FROM cookies WHERE host_key = '.shared.test'"),
              0)
        << profileName;
  EXPECT_TRUE(form->CloseCookBtnClick());
}

TEST_F(CookieManager, AnOlderProfilesCookiesTxtListsAndDeletesHttpOnlyCookiesWithTheirHost) {
  const std::string txt = profile + "\\Cookies.txt", kept = "# a note\n#HttpOnly_.only.test\tTRUE\t/\tFALSE\t9\tc\t3\n";
  files.WriteFile(txt, "# Netscape HTTP Cookie File\n\n#HttpOnly_site.test\tTRUE\t/\tFALSE\t9\tb\t2\n" + kept +
                           "site.test\tFALSE\t/\tFALSE\t9\ta\t1\n");
  firefox.FirefoxSqliteFormat = false;
  firefox.CookiesTxtFile = txt;
  firefox.CookiesPg1File = profile + "\\Cookies.pg1", firefox.CookiesPg2File = profile + "\\Cookies.pg2";
  files.WriteFile(firefoxProtect, "p=.only.test\r\n");
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYes;
  f.state.flags.secureErase = true;
  Open();
  EXPECT_EQ(form->Rows(), (std::vector<Row>{{".only.test", "Protect", "", ""}, {"site.test", " ", "", ""}}));
  Select({"site.test"});
  EXPECT_EQ(form->DetailRows(), (std::vector<Lines>{{"site.test", "b", "2"}, {"site.test", "a", "1"}}));
  form->DeleteSBtnClick();
  EXPECT_EQ(files.ReadFile(txt), "# Netscape HTTP Cookie File\n\n" + kept);
  EXPECT_EQ(files.shredded, Lines{"Cookies.pg2"});
  EXPECT_FALSE(files.FileExists(firefox.CookiesPg2File) || files.FileExists(firefox.CookiesPg1File));
}

TEST_F(CookieManager, ButtonRowsFitPermissionButtonsFollowTheTabAndFirefoxOpenF1AndHelpShowTheirTexts) {
  firefoxRunning = true;
  context.programFolder = ParentFolder(TIDEMARK_HELP_FILE);
  Open();
  // The last button of each row shows whole, as designed and as narrow as the window goes.
  for (bool narrowed : {false, true}) {
    if (narrowed) MoveWindow(form->hwnd(), 0, 0, 200, 300, TRUE);
    RECT client;
    GetClientRect(form->hwnd(), &client);
    for (const char* caption : {"Help", "Close This Window"}) {
      RECT button;
      GetWindowRect(FindWindowExA(form->hwnd(), nullptr, "BUTTON", caption), &button);
      MapWindowPoints(nullptr, form->hwnd(), reinterpret_cast<POINT*>(&button), 2);
      EXPECT_LE(button.right, client.right) << caption << (narrowed ? " narrowed" : "");
    }
  }
  EXPECT_FALSE(IsWindowEnabled(form->deleteButton()));
  form->TabControlCookChange(1);
  const HWND changes[] = {form->deleteButton(), form->blockButton(), form->allowButton(), form->sessionButton(),
                          form->removeButton()};
  for (HWND button : changes) EXPECT_EQ(IsWindowEnabled(button) != 0, button != form->sessionButton());
  Select({"Cookie:me@shop.site.test/"});
  form->SetCookiePermission(cookies::PermissionChange::Block);
  EXPECT_EQ(iePermissions.Find("Cookie:x@site.test/"), "Block");
  form->OpenSbtnClick();

  firefoxRunning = false;
  form->TabControlCookChange(0);
  EXPECT_TRUE(IsWindowEnabled(form->sessionButton()));
  EXPECT_EQ(opened, Lines{"shop.site.test"});
  EXPECT_EQ(boxes.shown, Lines{});

  for (auto [folder, text] : {std::pair{context.programFolder, "Tidemark - Cookies Window"},
                              {f.scratch.path(), "...Unable to locate the text file to display."}}) {
    help::TCHform help(files, folder, 96);
    help.Create(nullptr);
    EXPECT_TRUE(help.Text().starts_with(text)) << help.Text();
  }

  // F1 and Escape in the running window: the help at its topic, then the window closes.
  form = std::make_unique<TCookieForm>(context);
  test::WhenReady([this] {
    if (!test::ThreadWindow("TCookieForm")) return false;
    for (WPARAM key : {VK_F1, VK_ESCAPE}) PostMessageA(form->listView1(), WM_KEYDOWN, key, 0);
    return true;
  });
  form->ShowModal(nullptr);
  EXPECT_EQ(helpTopics, Lines{std::string(help::kTopicProtect)});
  EXPECT_TRUE(form->closed());
}

}  // namespace
}  // namespace tidemark::app
