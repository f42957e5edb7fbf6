#include "cookies/protect_list.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

ProtectList ListOf(std::vector<std::string> entries) {
  ProtectList list;
  list.entries = std::move(entries);
  SortProtectEntries(list.entries);
  return list;
}

TEST(NormaliseProtectList, DropsOldHeaderAndPrefixesBareNames) {
  ProtectList list = ListOf({"Protect File for cookies", "Site.COM", "r=.Other.org"});
  EXPECT_TRUE(NormaliseProtectList(list));
  EXPECT_EQ(list.entries, (std::vector<std::string>{"p=site.com", "r=.other.org"}));
}

TEST(NormaliseProtectList, LowerCasingAloneIsNoChange) {
  ProtectList list = ListOf({"P=Site.com", "x", "R=b.org"});
  EXPECT_FALSE(NormaliseProtectList(list));
  EXPECT_EQ(list.entries, (std::vector<std::string>{"p=site.com", "r=b.org", "x"}));
}

TEST(NormaliseProtectList, OneCharacterEntryIsKeptUnprefixed) {
  ProtectList list = ListOf({"Q", "p=a.com"});
  EXPECT_FALSE(NormaliseProtectList(list));
  EXPECT_EQ(list.entries, (std::vector<std::string>{"p=a.com", "q"}));
}

TEST(AddProtectEntry, KeepsOrderAndIgnoresDuplicatesWhateverTheirCase) {
  std::vector<std::string> entries;
  EXPECT_TRUE(AddProtectEntry(entries, "r=b.org"));
  EXPECT_TRUE(AddProtectEntry(entries, "p=a.com"));
  EXPECT_TRUE(AddProtectEntry(entries, "P=c.net"));
  EXPECT_FALSE(AddProtectEntry(entries, "R=B.ORG"));
  EXPECT_EQ(entries, (std::vector<std::string>{"p=a.com", "P=c.net", "r=b.org"}));
}

TEST(ProtectAddress, TakesTextAfterAtUpToQueryOrFragment) {
  EXPECT_EQ(ProtectAddress("cookie:user@host.test/page?x=1#top"), "host.test/page");
  EXPECT_EQ(ProtectAddress("cookie:user@host.test/a#b"), "host.test/a");
  EXPECT_EQ(ProtectAddress("host.test/p?q#f"), "host.test/p");
  EXPECT_EQ(ProtectAddress("host.test/p#f?q"), "host.test/p#f");
  EXPECT_EQ(ProtectAddress("a@b@c"), "b@c");
  EXPECT_EQ(ProtectAddress(""), "");
}

TEST(FindCookieProtect, MatchesExactHostOnly) {
  ProtectList list = ListOf({"p=.site.com", "r=other.org", "x", "p=*ads"});
  ProtectMatch found = FindCookieProtect(list, ".Site.com");
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.kind, 'P');
  EXPECT_EQ(list.entries[found.index], "p=.site.com");

  EXPECT_FALSE(FindCookieProtect(list, "site.com").found);
  EXPECT_FALSE(FindCookieProtect(list, "www.ads.com").found);

  found = FindCookieProtect(list, "OTHER.org");
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.kind, 'R');
  EXPECT_EQ(list.entries[found.index], "r=other.org");

  found = FindCookieProtect(list, "X");
  EXPECT_TRUE(found.found);
  EXPECT_EQ(found.kind, 'P');
  EXPECT_EQ(list.entries[found.index], "x");
}

TEST(FindCookieProtect, EmptyListFindsNothing) {
  EXPECT_FALSE(FindCookieProtect(ProtectList(), "a.com").found);
}

class MatchIEProtectTest : public ::testing::Test {
 protected:
  ProtectList list = ListOf({"r=*adserver", "a=*site", "p=cookie:me@exact.com/", "r=cookie:me@rand.com/",
                             "p=*keep.org"});
  static constexpr const char* kAdCookie = "Cookie:me@www.AdServer.net/";
};

TEST_F(MatchIEProtectTest, RandomWildcardActsOnCookiesOnly) {
  ProtectMatch match = MatchIEProtect(list, kAdCookie, IEEntryMode::Cookie);
  EXPECT_TRUE(match.found);
  EXPECT_EQ(match.kind, 'R');
  EXPECT_EQ(list.entries[match.index], "r=*adserver");
  EXPECT_FALSE(MatchIEProtect(list, kAdCookie, IEEntryMode::Cache).found);
  EXPECT_FALSE(MatchIEProtect(list, kAdCookie, IEEntryMode::History).found);
}

TEST_F(MatchIEProtectTest, AnyEntryWildcardProtectsEveryKind) {
  for (IEEntryMode mode : {IEEntryMode::Cookie, IEEntryMode::Cache, IEEntryMode::History}) {
    ProtectMatch match = MatchIEProtect(list, "Visited: me@http://www.mysite.com/index.html", mode);
    EXPECT_TRUE(match.found);
    EXPECT_EQ(match.kind, 'P');
    EXPECT_EQ(list.entries[match.index], "a=*site");
  }
}

TEST_F(MatchIEProtectTest, ExactProtectAppliesInEveryMode) {
  for (IEEntryMode mode : {IEEntryMode::Cookie, IEEntryMode::Cache, IEEntryMode::History}) {
    ProtectMatch match = MatchIEProtect(list, "Cookie:ME@exact.com/", mode);
    EXPECT_TRUE(match.found);
    EXPECT_EQ(match.kind, 'P');
  }
  EXPECT_FALSE(MatchIEProtect(list, "Cookie:me@exact.com/x", IEEntryMode::Cookie).found);
}

TEST_F(MatchIEProtectTest, ExactRandomAndProtectWildcardApplyToCookiesOnly) {
  ProtectMatch match = MatchIEProtect(list, "cookie:me@rand.com/", IEEntryMode::Cookie);
  EXPECT_TRUE(match.found);
  EXPECT_EQ(match.kind, 'R');
  EXPECT_FALSE(MatchIEProtect(list, "cookie:me@rand.com/", IEEntryMode::Cache).found);

  match = MatchIEProtect(list, "cookie:me@www.keep.org/", IEEntryMode::Cookie);
  EXPECT_TRUE(match.found);
  EXPECT_EQ(match.kind, 'P');
  EXPECT_FALSE(MatchIEProtect(list, "cookie:me@www.keep.org/", IEEntryMode::History).found);
}

TEST_F(MatchIEProtectTest, WildcardLooksOnlyAtTheAddress) {
  // "site" in the user part or after "?" is not part of the address.
  EXPECT_FALSE(MatchIEProtect(list, "cookie:site@other.com/", IEEntryMode::Cookie).found);
  EXPECT_FALSE(MatchIEProtect(list, "cookie:me@other.com/?site", IEEntryMode::Cache).found);
}

TEST_F(MatchIEProtectTest, FirstMatchingEntryWins) {
  // Both "a=*site" and "r=*adserver" apply; "a=*site" sorts first.
  ProtectMatch match = MatchIEProtect(list, "cookie:me@adserver.site.com/", IEEntryMode::Cookie);
  EXPECT_TRUE(match.found);
  EXPECT_EQ(match.kind, 'P');
  EXPECT_EQ(list.entries[match.index], "a=*site");
}

TEST(MatchIEProtect, EmptyListMatchesNothing) {
  EXPECT_FALSE(MatchIEProtect(ProtectList(), "cookie:me@a.com/", IEEntryMode::Cookie).found);
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

TEST(MarkProtectStatus, StatusTexts) {
  EXPECT_EQ(ProtectStatusText(ProtectStatus::Protect), "Protect");
  EXPECT_EQ(ProtectStatusText(ProtectStatus::Random), "Random");
  EXPECT_EQ(ProtectStatusText(ProtectStatus::Unmarked), " ");
}

}  // namespace
}  // namespace tidemark::cookies
