// The protect lists, their files, the no-protection warning's rule and cookie scrambling, natively over the
// in-memory file system.
#include <gtest/gtest.h>

#include <tuple>

#include "cookies/no_protection.h"
#include "cookies/protect_file.h"
#include "cookies/protect_list.h"
#include "cookies/scramble.h"
#include "cookies/temp_protect.h"
#include "support/memory_files.h"

namespace tidemark::cookies {
namespace {

using Entries = std::vector<std::string>;

ProtectList ListOf(Entries entries) {
  SortProtectEntries(entries);
  return {entries};
}

// The entry a lookup found, "-" for none.
std::string Found(const ProtectList& list, const ProtectMatch& match) {
  return match.found ? std::string(1, match.kind) + " " + list.entries.at(size_t(match.index)) : "-";
}

// The old header and bare names: the protect file's tests.
TEST(ProtectList, LowerCasingAloneIsNoChangeAddingSkipsAListedEntryAndAFirefoxHostMatchesExactlyOnly) {
  // A one-character entry has no prefix to give.
  ProtectList list = ListOf({"P=Site.com", "x", "R=b.org"});
  EXPECT_FALSE(NormaliseProtectList(list));
  EXPECT_EQ(list.entries, (Entries{"p=site.com", "r=b.org", "x"}));
  Entries entries;
  for (const char* entry : {"r=b.org", "p=a.com", "P=c.net"}) EXPECT_TRUE(AddProtectEntry(entries, entry));
  EXPECT_FALSE(AddProtectEntry(entries, "R=B.ORG"));
  EXPECT_EQ(entries, (Entries{"p=a.com", "P=c.net", "r=b.org"}));
  for (auto [name, address] : {std::pair{"cookie:user@host.test/page?x=1#top", "host.test/page"},
                               {"host.test/p#f?q", "host.test/p#f"}, {"a@b@c", "b@c"}, {"", ""}})
    EXPECT_EQ(ProtectAddress(name), address) << name;
  list = ListOf({"p=.site.com", "r=other.org", "x", "p=*ads"});
  for (auto [host, found] : {std::pair{".Site.com", "P p=.site.com"}, {"site.com", "-"}, {"www.ads.com", "-"},
                             {"OTHER.org", "R r=other.org"}, {"X", "P x"}})
    EXPECT_EQ(Found(list, FindCookieProtect(list, host)), found) << host;
}

TEST(ProtectList, EachIEEntryFormInEachModeTheManagerMarksWithTheLastThatAppliesAndATempNameMatchesOnlyWhenEqual) {
  ProtectList list =
      ListOf({"r=*adserver", "a=*site", "p=cookie:me@exact.com/", "r=cookie:me@rand.com/", "p=*keep.org"});
  constexpr IEEntryMode kCookie = IEEntryMode::Cookie, kCache = IEEntryMode::Cache, kHistory = IEEntryMode::History;
  const std::tuple<const char*, IEEntryMode, const char*> cases[] = {
      // "r=*" acts on cookies only; "a=*" on every kind of entry.
      {"Cookie:me@www.AdServer.net/", kCookie, "R r=*adserver"}, {"Cookie:me@www.AdServer.net/", kCache, "-"},
      {"Visited: me@http://www.mysite.com/index.html", kHistory, "P a=*site"},
      // An exact "p=" entry applies in every mode, to the whole name only.
      {"Cookie:ME@exact.com/", kHistory, "P p=cookie:me@exact.com/"}, {"Cookie:me@exact.com/x", kCookie, "-"},
      // An exact "r=" entry and a "p=*" one apply to cookies only.
      {"cookie:me@rand.com/", kCookie, "R r=cookie:me@rand.com/"}, {"cookie:me@rand.com/", kCache, "-"},
      {"cookie:me@www.keep.org/", kCookie, "P p=*keep.org"}, {"cookie:me@www.keep.org/", kHistory, "-"},
      // Wildcards look only at the address: not the user part, not the query.
      {"cookie:site@other.com/", kCookie, "-"}, {"cookie:me@other.com/?site", kCache, "-"},
      // The first matching entry in sorted order wins.
      {"cookie:me@adserver.site.com/", kCookie, "P a=*site"},
  };
  for (auto [name, mode, found] : cases)
    EXPECT_EQ(Found(list, MatchIEProtect(list, name, mode)), found) << name << " mode " << int(mode);
  EXPECT_FALSE(MatchIEProtect(ProtectList(), "cookie:me@a.com/", kCookie).found);
  list = ListOf({"p=cookie:me@a.com/", "r=cookie:me@b.com/", "a=*shop", "r=*tracker"});
  for (auto [caption, status] :
       {std::pair{"Cookie:me@a.com/", ProtectStatus::Protect}, {"Cookie:me@b.com/", ProtectStatus::Random},
        {"cookie:me@shop.net/", ProtectStatus::Protect}, {"cookie:me@c.com/", ProtectStatus::Unmarked},
        {"cookie:me@shop.tracker.net/", ProtectStatus::Random}, {".shop.com", ProtectStatus::Protect}})
    EXPECT_EQ(MarkProtectStatus(list, caption), status) << caption;
  const std::string longName(300, 'a');
  const std::vector<std::string> two = {"p=keep.txt", "i=Locked.DAT"}, unnamed = {"p=", "p", "", "P=Upper.txt"};
  const std::tuple<std::vector<std::string>, std::string, char> temps[] = {
      {{}, "a.log", ' '}, {two, "KEEP.txt", 'p'}, {two, "locked.dat", 'i'}, {two, "other.txt", ' '},
      {{"p=*.log", "p=c:\\temp\\a.log"}, "a.log", ' '},  // no wildcards, no folders
      {{"i=same.txt", "p=same.txt"}, "same.txt", 'p'}, {{"p=same.txt", "i=same.txt"}, "same.txt", 'p'},
      // Entries without a pattern are skipped; the kind letter may be upper case.
      {unnamed, "", ' '}, {unnamed, "upper.txt", 'p'},
      // Patterns are cut at 255 characters.
      {{"p=" + longName}, longName, ' '}, {{"p=" + longName}, longName.substr(0, 255), 'p'},
  };
  for (const auto& [entries, name, expected] : temps) {
    const TempProtectList temp{entries, static_cast<int32_t>(entries.size())};
    EXPECT_EQ(MatchTempProtect(temp, "c:\\temp\\" + name, name, nullptr), expected) << name.substr(0, 40);
  }
}

TEST(NoProtectionWarning, DueOnlyForAnEmptyList) {
  // The purges' tests ask with "N" and not with "Y" or in a Preview.
  EXPECT_TRUE(NoProtectionWarningNeeded(0, false, "") && !NoProtectionWarningNeeded(3, false, ""));
}

struct CollectedMessages : UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  Entries shown;
};

// Files the system refuses to read refuse their attributes too, as under an access error.
struct Files : test::MemoryFileSystem {
  std::optional<uint32_t> Attributes(const std::string& path) override {
    auto attributes = MemoryFileSystem::Attributes(path);
    return attributes && (*attributes & platform::kAttrDirectory || ReadFile(path)) ? attributes : std::nullopt;
  }
};

class ProtectFile : public ::testing::Test {
 protected:
  std::string Content(const std::string& file) { return files.ReadFile(file).value_or("<none>"); }
  // Loads the cookie list, adds an entry and saves it.
  void AddAndSave(const std::string& entry) {
    ProtectList list = LoadCookieProtectList(files, path);
    list.Dirty = AddProtectEntry(list.entries, entry);
    SaveCookieProtectList(list, path, files, messages);
  }
  void AddAndSaveTemp(const std::string& entry) {
    TempProtectList list;
    LoadTempProtectList(list, files, folder);
    files.locked.clear();
    list.Dirty = AddProtectEntry(list.entries, entry);
    SaveTempProtectList(list, files, folder);
    EXPECT_TRUE(list.entries.empty());
  }

  Files files;
  std::string folder = "C:\\Data", path = folder + "\\Tidemark.Dat", temp = folder + "\\tidemark.pit";
  std::string ie = folder + "\\IEcookie.dat", former = folder + "\\IEprMode.dat";
  CollectedMessages messages;
};

TEST_F(ProtectFile, AMissingFileIsAnEmptyListAndAFileIsReadWithAnyLineBreakAndRewrittenOnlyWhenChanged) {
  ProtectList list = LoadCookieProtectList(files, path);
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_TRUE(list.OpenedOK && !files.FileExists(path));
  files.AddFolder(folder);
  AddAndSave("p=new.com");
  EXPECT_EQ(Content(path), "p=new.com\r\n");
  std::string sub = folder + "\\Sub\\Tidemark.Dat";
  files.AddFile(ie, "p=kept.com\r\n");
  EnsureProtectListsExist(files, sub, ie);
  EXPECT_EQ(Content(sub) + "|" + Content(ie), "|p=kept.com\r\n");
  files.AddFile(path, "r=b.org\n\r\n  \np=c.net\rp=a.com");
  list = LoadCookieProtectList(files, path);
  EXPECT_EQ(std::pair(list.entries, list.Count), std::pair(Entries{"p=a.com", "p=c.net", "r=b.org"}, 3));
  SaveCookieProtectList(list, path, files, messages);
  EXPECT_EQ(Content(path), "r=b.org\n\r\n  \np=c.net\rp=a.com") << "sorting alone writes nothing";
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProtectFile, AnUnreadableFileIsNeverOverwrittenASaveGetsPastReadOnlyFilesOrSaysSoAndTheFormerListIsFoldedIn) {
  for (bool locked : {true, false}) {
    files.AddFile(path, "p=keep.com\r\n");
    (locked ? files.locked : files.unreadable) = {path};
    EXPECT_FALSE(LoadCookieProtectList(files, path).OpenedOK);
    EnsureProtectListsExist(files, path, ie);
    AddAndSave("p=other.com");
    files.locked.clear();
    files.unreadable.clear();
    EXPECT_EQ(Content(path) + "|" + Content(ie), "p=keep.com\r\n|");
  }
  files.AddFile(temp, "p=*.log\r\n");
  files.locked = {temp};
  AddAndSaveTemp("i=*.dat");
  EXPECT_EQ(Content(temp), "p=*.log\r\n");
  files.AddFile(path, "p=old.com\r\n", platform::kAttrReadOnly);
  files.AddFile(path + ".new", "half a list", platform::kAttrReadOnly);
  AddAndSave("p=new.com");
  EXPECT_EQ(Content(path), "p=new.com\r\np=old.com\r\n");
  files.AddFile(temp, "p=*.log\r\n", platform::kAttrReadOnly);
  AddAndSaveTemp("i=*.dat");
  EXPECT_EQ(Content(temp), "i=*.dat\r\np=*.log\r\n");
  EXPECT_TRUE(messages.shown.empty());
  files.writesStopHalfWay = true;
  AddAndSave("p=lost.com");
  EXPECT_EQ(Content(path) + Content(path + ".new"), "p=new.com\r\np=old.com\r\n<none>");
  EXPECT_EQ(messages.shown, Entries{"Tidemark  -  Message|Unable to save the protect file - " + path +
                                    "\r\nExecution will continue without saving the changes."});
  files.writesStopHalfWay = false;
  files.AddFile(former, "Protect File\r\nCookie:Me@Site.com/\r\nr=cookie:me@shared.com/\r\n");
  files.AddFile(ie, "r=cookie:me@shared.com/\r\np=cookie:me@ie.com/\r\n");
  EXPECT_TRUE(MergeFormerProtectedModeList(files, folder) && !files.FileExists(former));
  EXPECT_EQ(Content(ie), "p=cookie:me@ie.com/\r\np=cookie:me@site.com/\r\nr=cookie:me@shared.com/\r\n");
  for (bool stopHalfWay : {false, true}) {
    files.AddFile(former, "p=cookie:me@site.com/\r\n");
    files.AddFile(ie, "p=cookie:me@ie.com/\r\n");
    files.writesStopHalfWay = stopHalfWay;
    if (!stopHalfWay) files.unreadable = {ie};
    EXPECT_FALSE(MergeFormerProtectedModeList(files, folder));
    files.unreadable.clear();
    files.writesStopHalfWay = false;
    EXPECT_EQ(Content(former) + Content(ie), "p=cookie:me@site.com/\r\np=cookie:me@ie.com/\r\n");
  }
}

// Answers the highest (or lowest) value of each requested range.
struct FixedRandom : RandomSource {
  explicit FixedRandom(bool highest) : highest(highest) {}
  int Next(int maximum) override { return highest ? maximum : 0; }
  bool highest;
};

TEST(Scramble, EachCharacterMovesWithinItsHalfOfItsClassInTheValueOnlyAndAFailedWriteLeavesTheFile) {
  FixedRandom highest(true), lowest(false);
  std::string text;
  for (auto [before, first, last, random, after] :
       {std::tuple<const char*, size_t, size_t, RandomSource*, const char*>{"AMNZamnz0459-~\xe4", 1, 15, &highest,
                                                                           "MYBNmybn4815-~\xe4"},
        {"AMNZamnz0459", 1, 12, &lowest, "AMNZamnz0459"}, {"abcdef", 2, 3, &highest, "anodef"},
        {"abc", 2, 99, &highest, "ano"}}) {
    ScrambleValue(text = before, first, last, *random);
    EXPECT_EQ(text, after) << before;
  }
  // A Cookies.txt line: only the seventh field.
  for (auto [line, scrambled] :
       {std::pair<std::string, std::string>{".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tabc123\textra",
                                            ".site.com\tTRUE\t/\tFALSE\t1999999999\tid\tmno567\textra"},
        {".s\tTRUE\t/\tFALSE\t1\tid\t", ".s\tTRUE\t/\tFALSE\t1\tid\t"}, {"abc\tdef", "abc\tdef"}}) {
    ScrambleCookieLine(line, highest);
    EXPECT_EQ(line, scrambled);
  }
  test::MemoryFileSystem files;
  const std::string rest = "site.test/\r\n1024\r\n2894529536\r\n30148398\r\n1405722896\r\n29873420\r\n*\n";
  const std::string two = "SID\r\nAbc123XyZ\r\n" + rest + "pref\nid=99;lang=en\n" + rest, path = "C:\\c\\a.txt";
  const std::tuple<std::string, bool, bool, std::string> cases[] = {
      {two, false, true, "SID\r\nMno567LmN\r\n" + rest + "pref\nup=55;xmbs=qb\n" + rest},
      {"name\nValue\n", false, true, "name\nValue\n"},
      {two, true, false, two},
  };
  for (const auto& [before, failing, scrambled, after] : cases) {
    files.AddFile(path, before);
    files.writesStopHalfWay = failing;
    EXPECT_EQ(ScrambleIECookieFile(files, path, highest), scrambled);
    EXPECT_EQ(files.ReadFile(path), after);
    EXPECT_FALSE(files.FileExists(path + ".new"));
  }
  uint32_t error = 0;
  EXPECT_FALSE(ScrambleIECookieFile(files, path + "x", highest, &error) || files.FileExists(path + "x"));
  EXPECT_EQ(error, 2u);
}

}  // namespace
}  // namespace tidemark::cookies
