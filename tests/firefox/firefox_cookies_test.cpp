#include "firefox/firefox_cookies.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tidemark::firefox {
namespace {

std::vector<std::string> Lines(const CookieList& list) {
  std::vector<std::string> lines;
  for (const FirefoxCookie& cookie : list) lines.push_back(cookie.line);
  return lines;
}

TEST(CookiesTxt, HeaderBlockIsTheLeadingCommentsButNeverTheLastLine) {
  struct Case {
    std::string text;
    std::vector<std::string> header, cookies;
  } cases[] = {
      {"# Netscape HTTP Cookie File\r\n#\n\n.a.test\tTRUE\t/\tFALSE\t9\tn\tv\n# later\n",
       {"# Netscape HTTP Cookie File", "#", ""},
       {".a.test\tTRUE\t/\tFALSE\t9\tn\tv", "# later"}},
      {"# only\n# comments\n", {"# only"}, {"# comments"}},
      // Firefox marks HttpOnly cookies like comments; they are cookies.
      {"# head\n#HttpOnly_.b.test\tTRUE\t/\n", {"# head"}, {"#HttpOnly_.b.test\tTRUE\t/"}},
  };
  for (const Case& c : cases) {
    CookiesTxt file = ParseCookiesTxt(c.text);
    EXPECT_EQ(file.header, c.header) << c.text;
    EXPECT_EQ(Lines(file.cookies), c.cookies) << c.text;
  }
  EXPECT_EQ(FormatCookiesTxt(ParseCookiesTxt(cases[0].text)),
            "# Netscape HTTP Cookie File\n#\n\n.a.test\tTRUE\t/\tFALSE\t9\tn\tv\n# later\n");
}

TEST(CookieList, SortKeepsEachHostsCookiesTogether) {
  EXPECT_EQ(CookieHost("#HttpOnly_.Site.TEST\tTRUE\t/"), ".site.test");
  EXPECT_EQ(CookieHost("# comment\tTRUE"), "");
  CookieList list = {{"b.test\tx\t1"}, {"a.test.evil\tx\t2"},      {"A.test\tx\t3"},    {"a.test\tx\t4"},
                     {"B.test\tx\t0"}, {"#HttpOnly_a.test\tx\t5"}, {"a.test\x01\tx\t6"}};
  SortCookies(list);
  EXPECT_EQ(Lines(list),
            (std::vector<std::string>{"#HttpOnly_a.test\tx\t5", "A.test\tx\t3", "a.test\tx\t4", "a.test\x01\tx\t6",
                                      "a.test.evil\tx\t2", "B.test\tx\t0", "b.test\tx\t1"}));
}

TEST(CookieProtectLookup, AnswersAsTheListsOwnLookup) {
  cookies::ProtectList list;
  list.entries = {"bare", "p=*wild.test", "P=.Site.test", "p=dup.test", "r=.random.test", "r=dup.test"};
  CookieProtectLookup lookup(list);
  for (const char* host : {"bare", "wild.test", "*wild.test", ".site.test", "site.test", ".random.test", "dup.test",
                           "unknown.test", ".SITE.test"}) {
    cookies::ProtectMatch expected = cookies::FindCookieProtect(list, host), found = lookup.Find(host);
    EXPECT_EQ(std::tie(found.found, found.kind, found.index), std::tie(expected.found, expected.kind, expected.index))
        << host;
  }
}

// The cookie manager's message boxes (their two captions differ in one blank).
TEST(CookieManagerLoad, ProblemsAreToldInMessageBoxes) {
  struct Recording : cookies::UserMessages {
    void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
    std::vector<std::string> shown;
  } messages;
  for (CookieLoad outcome :
       {CookieLoad::Loaded, CookieLoad::Unreadable, CookieLoad::FileMissing, CookieLoad::ReadFailed})
    ShowCookieLoadProblem(outcome, messages);
  EXPECT_EQ(
      messages.shown,
      (std::vector<std::string>{
          "Tidemark  -  Message|Unable to find FireFox Cookies file - Cookies.SQLite\r\nExecution will continue...",
          "Tidemark -  Message|Load FireFox Cookies File failed - Cookies.SQLite\r\nExecution will continue..."}));
}

}  // namespace
}  // namespace tidemark::firefox
