// The cookie manager in-process (under Xvfb) over real scratch stores; message boxes are answered as a user would.
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
using Row = TCookieForm::Row;
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
  CookieConfirmations confirmations;
  settings::FontSettings fonts;
  bool firefoxRunning = false;
  Lines opened, helpTopics;
  test::MessageBoxes boxes;
  CookieFormContext context{.files = files, .memory = platform::RealSharedMemory(), .firefox = firefox, .ie = ie,
                            .firefoxProtectFile = firefoxProtect, .ieProtectFile = ieProtect,
                            .firefoxPermissions = permissions, .iePermissions = iePermissions,
                            .confirmations = confirmations, .purge = f.state,
                            .purgeResources = [this] { return f.Resources(); }, .fonts = fonts, .protectedMode = true,
                            .firefoxRunning = [this] { return firefoxRunning; },
                            .openInFirefox = [this](const std::string& site) { return opened.push_back(site), true; },
                            .help = [this](std::string_view topic) { helpTopics.emplace_back(topic); }};
  std::unique_ptr<TCookieForm> form;
};

TEST_F(CookieManager, ListsEachAddressOnceCountsFiltersAndSortsWithTheHeaderArrows) {
  ASSERT_EQ(files.ReadFile(firefox.CookiesSqliteFile).value_or("xSeSSy").find("xSeSSy"), std::string::npos)
      << "the cookies are in the log alone";
  Open();
  EXPECT_EQ(Captions(), (Lines{".random.test", ".sess.test", "five.test", "kept.test", "name.test", "value.test"}));
  EXPECT_EQ(form->CountText(), "Displayed 6 of 6 Cookie Addresses");
  Select({"five.test"});
  EXPECT_EQ(form->DetailRows().size(), 6u);
  EXPECT_EQ(form->DetailRows()[1], (Lines{"five.test", "n0", "w"})) << "a container's own";

  // The status column, ascending then descending, ties by caption; the arrow follows the sorted column.
  EXPECT_EQ(ImageList_GetImageCount(Header_GetImageList(ListView_GetHeader(form->listView1()))), 2);
  const std::tuple<int, Lines, int> clicks[] = {
      {1, {".sess.test", "five.test", "name.test", "value.test", "kept.test", ".random.test"}, TCookieForm::kArrowUp},
      {1, {".random.test", "kept.test", ".sess.test", "five.test", "name.test", "value.test"}, TCookieForm::kArrowDown},
      {0, {"value.test", "name.test", "kept.test", "five.test", ".sess.test", ".random.test"}, TCookieForm::kArrowDown},
  };
  for (const auto& [column, order, arrow] : clicks) {
    form->ListView1ColumnClick(column);
    EXPECT_EQ(Captions(), order);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(form->HeaderArrow(i), i == column ? arrow : -1) << column << i;
  }

  Filter(" sess ");
  EXPECT_EQ(Captions(), (Lines{".sess.test", "name.test", "value.test"}));

  Filter("PLAIN");
  form->TabControlCookChange(1);
  EXPECT_EQ(form->HeaderArrow(0), TCookieForm::kArrowUp);
  EXPECT_EQ(form->ColumnTitle(0), "Internet Address for \"I.E. Normal Mode\"");
  EXPECT_EQ(form->Rows(), (std::vector<Row>{{"Cookie:me@other.test/", " ", "", "ME@OTHER[1].TXT"}}));
  EXPECT_EQ(form->CountText(), "Displayed 1 of 2 Cookie Addreses");
  Filter("");
  Select({"Cookie:me@shop.site.test/"});
  EXPECT_EQ(form->DetailRows(),
            (std::vector<Lines>{{"site.test", "SID", "Abc123XyZ"}, {"site.test", "pref", "id=99;lang=en"}}));
  form->TabControlCookChange(2);
  EXPECT_EQ(Captions(), (Lines{"Cookie:me@low.test/"}));
  EXPECT_EQ(boxes.shown, Lines{});
}

TEST_F(CookieManager, ProtectOnRandomAsksOnceDeletingAProtectedItemKeepsItsEntryThenAdvisesUnprotect) {
  boxes.answers["Tidemark  -  Random to Protect Confirmation"] = cookies::kConfirmYesToAll;
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYes;
  Open();
  Select({"value.test"});
  form->RandomSbtnClick();
  Select({".random.test", "value.test"});
  form->Protect1Click();
  EXPECT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].starts_with(
      "Tidemark  -  Random to Protect Confirmation|When changing from \"Random\" to \"Protect\"\r\n"));
  EXPECT_TRUE(confirmations.randomToProtectYesToAll);
  for (const char* host : {".random.test", "value.test"}) {
    EXPECT_EQ(RowNamed(host), (Row{host, "Protect", "", kOnlyInProtectFile}));
    EXPECT_EQ(CookiesOf(host), 0);
  }
  EXPECT_EQ(form->firefoxList().entries, (Lines{"p=.random.test", "p=kept.test", "p=value.test"}));

  Select({"kept.test", "five.test", ".random.test"});
  form->DeleteSBtnClick();  // kept.test loses its cookie; .random.test has none: the advice
  EXPECT_EQ(RowNamed("kept.test"), (Row{"kept.test", "Protect", "", kOnlyInProtectFile}));
  EXPECT_EQ(RowNamed("five.test").comment, "Deleted");
  EXPECT_EQ(CookiesOf("kept.test") + CookiesOf("five.test"), 0);
  Select({"kept.test", "value.test"});
  form->DeleteSBtnClick();  // advised once for both
  const std::string advice = "Tidemark  -  Information Message|You must use UnProtect to Remove \r\nan entry from the "
                             "Protect File.";
  EXPECT_EQ(std::count(boxes.shown.begin(), boxes.shown.end(), advice), 2);
  EXPECT_TRUE(boxes.shown[1].starts_with(std::string(kDeleteConfirmation) +
                                         "|For your request to delete the 3 selected entries,\r\n"));
  form->UnProtect1Click();
  EXPECT_EQ(RowNamed("kept.test"), (Row{"kept.test", " ", "", "Protect removed"}));
  EXPECT_EQ(form->firefoxList().entries, (Lines{"p=.random.test"}));
}

TEST_F(CookieManager, DeletesShredWithSecureEraseAndARefusedDeleteLeavesTheItem) {
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYesToAll;
  f.state.flags.secureErase = true;
  Open();
  HANDLE held = CreateFileA(firefox.CookiesSqliteFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  Select({"name.test"});
  form->DeleteSBtnClick();
  CloseHandle(held);
  EXPECT_EQ(RowNamed("name.test").comment, "not deleted - Cookies file not changed");
  EXPECT_EQ(CookiesOf("name.test"), 1);
  EXPECT_EQ(boxes.shown.back(),
            "Tidemark -  Message|Delete Entry from Cookies file failed... \r\nExecution will continue...");
  Select({"value.test"});
  form->DeleteSBtnClick();
  EXPECT_EQ(files.ReadFile(firefox.CookiesSqliteFile).value_or("xSeSSy").find("xSeSSy"), std::string::npos);
  // The IE tab deletes the record and shreds its cookie file (after the Firefox database's log).
  form->TabControlCookChange(1);
  Select({"Cookie:me@other.test/"});
  form->DeleteSBtnClick();
  EXPECT_EQ(RowNamed("Cookie:me@other.test/").comment, "Deleted");
  EXPECT_EQ(ie::UrlsIn(ie.IECookiesFolder), (Lines{"Cookie:me@shop.site.test/", "http://cache.test/page"}));
  EXPECT_EQ(files.shredded, (Lines{"cookies.sqlite-wal", "ME@OTHER[1].TXT"}));
  EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(CookieManager, ADeleteLeavesTheCookieFirefoxGaveADeletedCookiesIdSinceTheListWasRead) {
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmYes;
  Open();
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
  EXPECT_EQ(RowNamed("site.test").comment, "Deleted");
  EXPECT_EQ(files.ReadFile(txt), "# Netscape HTTP Cookie File\n\n" + kept);
  EXPECT_EQ(files.shredded, Lines{"Cookies.pg2"});
  EXPECT_FALSE(files.FileExists(firefox.CookiesPg2File) || files.FileExists(firefox.CookiesPg1File));
}

TEST_F(CookieManager, PermissionButtonsFollowTheTabAndFirefoxOpenTakesPlainHostsF1AndHelpShowTheirTexts) {
  firefox::TSQLiteDatabase(firefox.CookiesSqliteFile)
      .Execute("INSERT INTO moz_cookies(host, name, value) VALUES('evil.test\" -profile x', 'n', 'v')");
  firefoxRunning = true;
  confirmations.randomToProtectYesToAll = true;
  context.programFolder = ParentFolder(TIDEMARK_HELP_FILE);
  Open();
  for (HWND button :
       {form->deleteButton(), form->blockButton(), form->allowButton(), form->sessionButton(), form->removeButton()})
    EXPECT_FALSE(IsWindowEnabled(button));
  EXPECT_EQ(form->HintOf(form->blockButton()), "\"Block\" Button Disabled - FireFox is Active");
  EXPECT_EQ(form->HintOf(form->deleteButton()), "\"Delete\" Button Disabled - FireFox is Active");
  // No cookie goes while Firefox runs: neither by Delete (the key too) nor by Protect on a Random address.
  Select({"five.test"});
  MSG deleteKey{form->listView1(), WM_KEYDOWN, VK_DELETE, 0};
  EXPECT_TRUE(form->PreTranslate(deleteKey));
  Select({".random.test"});
  form->Protect1Click();
  EXPECT_EQ(RowNamed(".random.test"), (Row{".random.test", "Protect", "", "not deleted - FireFox is Active"}));
  EXPECT_EQ(CookiesOf("five.test") + CookiesOf(".random.test"), 8);
  form->TabControlCookChange(1);
  for (HWND button :
       {form->deleteButton(), form->blockButton(), form->allowButton(), form->sessionButton(), form->removeButton()})
    EXPECT_EQ(IsWindowEnabled(button) != 0, button != form->sessionButton());
  Select({"Cookie:me@shop.site.test/"});
  form->SetCookiePermission(cookies::PermissionChange::Block);
  EXPECT_EQ(RowNamed("Cookie:me@shop.site.test/").permission, "Block");
  EXPECT_EQ(iePermissions.Find("Cookie:x@site.test/"), "Block");
  form->OpenSbtnClick();

  firefoxRunning = false;
  form->TabControlCookChange(0);
  EXPECT_TRUE(IsWindowEnabled(form->sessionButton()));
  Select({".sess.test"});
  form->SetCookiePermission(cookies::PermissionChange::Session);
  form->RefreshBtnClick();
  EXPECT_EQ(RowNamed(".sess.test").permission, "Session");
  for (const char* host : {".sess.test", "evil.test\" -profile x"}) {
    Select({host});
    form->OpenSbtnClick();
  }
  EXPECT_EQ(opened, (Lines{"shop.site.test", "sess.test"}));
  EXPECT_EQ(boxes.shown, (Lines{"Tidemark  -  Error Condition|Unable to execute FireFox to Open the web domain"}));

  MSG f1{form->listView2(), WM_KEYDOWN, VK_F1, 0};
  EXPECT_TRUE(form->PreTranslate(f1));
  EXPECT_EQ(helpTopics, Lines{std::string(help::kTopicProtect)});
  for (auto [folder, text] : {std::pair{context.programFolder, "Tidemark - Cookies Window"},
                              {f.scratch.path(), "...Unable to locate the text file to display."}}) {
    help::TCHform help(files, folder, 96);
    help.Create(nullptr);
    EXPECT_TRUE(help.Text().starts_with(text)) << help.Text();
  }
}

TEST_F(CookieManager, CloseIsRefusedWhileBusyAndWritesOnlyTheListsItCouldRead) {
  HANDLE held = CreateFileA(firefoxProtect.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  boxes.answers[kDeleteConfirmation] = cookies::kConfirmNo;
  Open();
  bool closedDuring = true;
  boxes.during = [&] { closedDuring = form->CloseCookBtnClick(); };
  Select({"name.test"});
  form->RandomSbtnClick();
  form->DeleteSBtnClick();
  EXPECT_FALSE(closedDuring);
  EXPECT_FALSE(form->closed());
  EXPECT_EQ(CookiesOf("name.test"), 1);  // "No" deleted nothing
  boxes.during = nullptr;
  form->EditSbtnClick();
  form->TabControlCookChange(1);
  Select({"Cookie:me@other.test/"});
  form->Protect1Click();
  EXPECT_TRUE(form->CloseCookBtnClick());
  CloseHandle(held);
  EXPECT_EQ(files.ReadFile(firefoxProtect), "r=.random.test\r\np=kept.test\r\n");
  EXPECT_EQ(files.ReadFile(ieProtect), "p=cookie:me@other.test/\r\n");
  const std::string unreadable = "Tidemark  -  Message|Unable to open exsting FireFox Protect file - ";
  EXPECT_EQ(boxes.shown, (Lines{unreadable + firefoxProtect + "\r\n\r\nAny changes made here will be discarded...",
                                std::string(kDeleteConfirmation) + "|For your request to delete the selected entry, "
                                    "\r\n\r\nPress \"Yes\" to confirm this Delete Request\r\n\r\nPress \"No\" to deny "
                                    "this Delete Request\r\n\r\nPress \"Yes To All\" to confirm all Delete Requests\r\n"
                                    " [this turns off \"Confirmation\" for Deletes]",
                                unreadable + "\r\n" + firefoxProtect}));
}

}  // namespace
}  // namespace tidemark::app
