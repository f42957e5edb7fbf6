#include "cookies/protect_list.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

using Entries = std::vector<std::string>;

ProtectList ListOf(Entries entries) {
  ProtectList list;
  list.entries = std::move(entries);
  SortProtectEntries(list.entries);
  return list;
}

TEST(NormaliseProtectList, DropsTheOldHeaderAndPrefixesBareNames) {
  struct Case {
    Entries stored;
    bool changed;
    Entries normalised;
  };
  const Case cases[] = {
      {{"Protect File for cookies", "Site.COM", "r=.Other.org"}, true, {"p=site.com", "r=.other.org"}},
      // Lower-casing alone is no change; a one-character entry has no prefix to give.
      {{"P=Site.com", "x", "R=b.org"}, false, {"p=site.com", "r=b.org", "x"}},
      {{"Q", "p=a.com"}, false, {"p=a.com", "q"}},
  };
  for (const Case& c : cases) {
    ProtectList list = ListOf(c.stored);
    EXPECT_EQ(NormaliseProtectList(list), c.changed) << c.stored[0];
    EXPECT_EQ(list.entries, c.normalised);
  }
}

TEST(AddProtectEntry, KeepsOrderAndIgnoresDuplicatesWhateverTheirCase) {
  Entries entries;
  EXPECT_TRUE(AddProtectEntry(entries, "r=b.org"));
  EXPECT_TRUE(AddProtectEntry(entries, "p=a.com"));
  EXPECT_TRUE(AddProtectEntry(entries, "P=c.net"));
  EXPECT_FALSE(AddProtectEntry(entries, "R=B.ORG"));
  EXPECT_EQ(entries, (Entries{"p=a.com", "P=c.net", "r=b.org"}));
}

TEST(ProtectAddress, TakesTextAfterAtUpToQueryOrFragment) {
  for (auto [name, address] : {std::pair{"cookie:user@host.test/page?x=1#top", "host.test/page"},
                               {"cookie:user@host.test/a#b", "host.test/a"}, {"host.test/p?q#f", "host.test/p"},
                               {"host.test/p#f?q", "host.test/p#f"}, {"a@b@c", "b@c"}, {"", ""}})
    EXPECT_EQ(ProtectAddress(name), address) << name;
}

// The entry a lookup found, "-" for none.
std::string Found(const ProtectList& list, const ProtectMatch& match) {
  if (!match.found) return "-";
  return std::string(1, match.kind) + " " + list.entries.at(size_t(match.index));
}

TEST(FindCookieProtect, MatchesTheExactHostOnly) {
  ProtectList list = ListOf({"p=.site.com", "r=other.org", "x", "p=*ads"});
  for (auto [host, found] : {std::pair{".Site.com", "P p=.site.com"}, {"site.com", "-"}, {"www.ads.com", "-"},
                             {"OTHER.org", "R r=other.org"}, {"X", "P x"}})
    EXPECT_EQ(Found(list, FindCookieProtect(list, host)), found) << host;
  EXPECT_FALSE(FindCookieProtect(ProtectList(), "a.com").found);
}

TEST(MatchIEProtect, EachEntryFormInEachMode) {
  ProtectList list =
      ListOf({"r=*adserver", "a=*site", "p=cookie:me@exact.com/", "r=cookie:me@rand.com/", "p=*keep.org"});
  constexpr IEEntryMode kCookie = IEEntryMode::Cookie, kCache = IEEntryMode::Cache, kHistory = IEEntryMode::History;
  struct Case {
    const char* name;
    IEEntryMode mode;
    const char* found;
  };
  const Case cases[] = {
      // "r=*" acts on cookies only.
      {"Cookie:me@www.AdServer.net/", kCookie, "R r=*adserver"},
      {"Cookie:me@www.AdServer.net/", kCache, "-"},
      {"Cookie:me@www.AdServer.net/", kHistory, "-"},
      // "a=*" protects every kind of entry.
      {"Visited: me@http://www.mysite.com/index.html", kCookie, "P a=*site"},
      {"Visited: me@http://www.mysite.com/index.html", kCache, "P a=*site"},
      {"Visited: me@http://www.mysite.com/index.html", kHistory, "P a=*site"},
      // An exact "p=" entry applies in every mode, to the whole name only.
      {"Cookie:ME@exact.com/", kCookie, "P p=cookie:me@exact.com/"},
      {"Cookie:ME@exact.com/", kHistory, "P p=cookie:me@exact.com/"},
      {"Cookie:me@exact.com/x", kCookie, "-"},
      // An exact "r=" entry and a "p=*" one apply to cookies only.
      {"cookie:me@rand.com/", kCookie, "R r=cookie:me@rand.com/"},
      {"cookie:me@rand.com/", kCache, "-"},
      {"cookie:me@rand.com/x", kCookie, "-"},
      {"cookie:me@www.keep.org/", kCookie, "P p=*keep.org"},
      {"cookie:me@www.keep.org/", kHistory, "-"},
      // Wildcards look only at the address: not the user part, not the query.
      {"cookie:site@other.com/", kCookie, "-"},
      {"cookie:me@other.com/?site", kCache, "-"},
      // The first matching entry in sorted order wins.
      {"cookie:me@adserver.site.com/", kCookie, "P a=*site"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Found(list, MatchIEProtect(list, c.name, c.mode)), c.found) << c.name << " mode " << int(c.mode);
  EXPECT_FALSE(MatchIEProtect(ProtectList(), "cookie:me@a.com/", kCookie).found);
}

TEST(MarkProtectStatus, ExactAndWildcardEntriesWithLaterOnesWinning) {
  ProtectList list = ListOf({"p=cookie:me@a.com/", "r=cookie:me@b.com/", "a=*shop", "r=*tracker"});
  EXPECT_EQ(MarkProtectStatus(list, "Cookie:me@a.com/"), ProtectStatus::Protect);
  EXPECT_EQ(MarkProtectStatus(list, "Cookie:me@b.com/"), ProtectStatus::Random);
  EXPECT_EQ(MarkProtectStatus(list, "cookie:me@shop.net/"), ProtectStatus::Protect);
  EXPECT_EQ(MarkProtectStatus(list, "cookie:me@c.com/"), ProtectStatus::Unmarked);
  // "a=*shop" then "r=*tracker": the later entry decides.
  EXPECT_EQ(MarkProtectStatus(list, "cookie:me@shop.tracker.net/"), ProtectStatus::Random);
  EXPECT_EQ(MarkProtectStatus(list, ".shop.com"), ProtectStatus::Protect);
}

}  // namespace
}  // namespace tidemark::cookies
