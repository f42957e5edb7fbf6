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

// The entry a lookup found, "-" for none.
std::string Found(const ProtectList& list, const ProtectMatch& match) {
  return match.found ? std::string(1, match.kind) + " " + list.entries.at(size_t(match.index)) : "-";
}

// The old header and bare names: the protect file's tests.
TEST(ProtectList, LowerCasingAloneIsNoChangeAndAddingSkipsAnEntryListedInAnyCase) {
  // A one-character entry has no prefix to give.
  ProtectList list = ListOf({"P=Site.com", "x", "R=b.org"});
  EXPECT_FALSE(NormaliseProtectList(list));
  EXPECT_EQ(list.entries, (Entries{"p=site.com", "r=b.org", "x"}));
  Entries entries;
  for (const char* entry : {"r=b.org", "p=a.com", "P=c.net"}) EXPECT_TRUE(AddProtectEntry(entries, entry));
  EXPECT_FALSE(AddProtectEntry(entries, "R=B.ORG"));
  EXPECT_EQ(entries, (Entries{"p=a.com", "P=c.net", "r=b.org"}));
}

TEST(ProtectList, TheAddressIsTheTextAfterAtUpToQueryOrFragment) {
  for (auto [name, address] : {std::pair{"cookie:user@host.test/page?x=1#top", "host.test/page"},
                               {"host.test/p#f?q", "host.test/p#f"}, {"a@b@c", "b@c"}, {"", ""}})
    EXPECT_EQ(ProtectAddress(name), address) << name;
}

TEST(ProtectList, AFirefoxHostMatchesExactlyOnly) {
  ProtectList list = ListOf({"p=.site.com", "r=other.org", "x", "p=*ads"});
  for (auto [host, found] : {std::pair{".Site.com", "P p=.site.com"}, {"site.com", "-"}, {"www.ads.com", "-"},
                             {"OTHER.org", "R r=other.org"}, {"X", "P x"}})
    EXPECT_EQ(Found(list, FindCookieProtect(list, host)), found) << host;
}

TEST(ProtectList, EachIEEntryFormInEachMode) {
  ProtectList list =
      ListOf({"r=*adserver", "a=*site", "p=cookie:me@exact.com/", "r=cookie:me@rand.com/", "p=*keep.org"});
  constexpr IEEntryMode kCookie = IEEntryMode::Cookie, kCache = IEEntryMode::Cache, kHistory = IEEntryMode::History;
  const std::tuple<const char*, IEEntryMode, const char*> cases[] = {
      // "r=*" acts on cookies only; "a=*" on every kind of entry.
      {"Cookie:me@www.AdServer.net/", kCookie, "R r=*adserver"}, {"Cookie:me@www.AdServer.net/", kCache, "-"},
      {"Visited: me@http://www.mysite.com/index.html", kHistory, "P a=*site"},
      {"Visited: me@http://www.mysite.com/index.html", kCache, "P a=*site"},
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
}

TEST(ProtectList, TheCookieManagerMarksWithTheLastEntryThatApplies) {
  ProtectList list = ListOf({"p=cookie:me@a.com/", "r=cookie:me@b.com/", "a=*shop", "r=*tracker"});
  for (auto [caption, status] :
       {std::pair{"Cookie:me@a.com/", ProtectStatus::Protect}, {"Cookie:me@b.com/", ProtectStatus::Random},
        {"cookie:me@shop.net/", ProtectStatus::Protect}, {"cookie:me@c.com/", ProtectStatus::Unmarked},
        {"cookie:me@shop.tracker.net/", ProtectStatus::Random}, {".shop.com", ProtectStatus::Protect}})
    EXPECT_EQ(MarkProtectStatus(list, caption), status) << caption;
}

}  // namespace
}  // namespace tidemark::cookies
