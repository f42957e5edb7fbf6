// Firefox's cookies as the cookie purge and the cookie manager see them: one
// TAB-separated line per cookie (host, HttpOnly, path, secure, expiry, name,
// value), loaded from cookies.sqlite or from an older profile's Cookies.txt,
// and sorted so that the cookies of one host stand together.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cookies/protect_list.h"
#include "cookies/user_messages.h"
#include "firefox/sqlite_database.h"
#include "platform/files.h"

namespace tidemark::firefox {

struct FirefoxCookie {
  std::string line;
  int64_t id = 0;          // its moz_cookies row; 0 for a Cookies.txt line
  bool notice = false;     // a "could not load" notice shown as an item, no cookie
  std::string host, name;  // the row's own values, which its id alone may no longer name
};
using CookieList = std::vector<FirefoxCookie>;

enum class CookieLoad {
  Loaded,
  FileMissing,
  Unreadable,  // the file could not be opened or queried: the list holds the notice lines
  ReadFailed,  // a row could not be read: the rows before it are in the list
};

struct CookieLoadResult {
  CookieLoad outcome = CookieLoad::Loaded;
  std::string cause;  // the library's message of a failure
};

// Fills list from moz_cookies of the file, on a connection of its own.
// Callable at any time: the purge and the cookie manager report the outcome
// each in their own way.
CookieLoadResult LoadFirefoxCookies(platform::FileSystem& files, const std::string& cookiesFile, bool firefoxRunning,
                                    CookieList& list);
// The same through an open connection (never FileMissing).
CookieLoadResult LoadFirefoxCookies(TSQLiteDatabase& database, bool firefoxRunning, CookieList& list);
// The cookie manager's message box for a missing file or a failed read.
void ShowCookieLoadProblem(CookieLoad outcome, cookies::UserMessages& messages);

// Case-insensitive ascending order, stable, by host first: the cookies of
// one host stand together even where a line's other characters (control
// characters, the HttpOnly mark) would part them.
void SortCookies(CookieList& list);

// The lower-cased host of a cookie line: field 1, without the mark Firefox
// puts before HttpOnly cookies in Cookies.txt; empty for a comment line.
std::string CookieHost(std::string_view line);

// An older profile's Cookies.txt: its leading comment block and its cookies.
struct CookiesTxt {
  std::vector<std::string> header;
  CookieList cookies;  // in file order
};
CookiesTxt ParseCookiesTxt(std::string_view text);
// The header lines, then the cookie lines, each ended by LF.
std::string FormatCookiesTxt(const CookiesTxt& file);

// DeleteCookieHost for the cookie manager: removes the rows of the given
// cookies in one transaction; raises ESQLiteException, changing nothing. A row
// goes only while it still holds the cookie's host and name: since the list
// was read Firefox may have deleted the cookie and given its id to another.
void DeleteCookieRows(TSQLiteDatabase& database, const CookieList& cookies);

// FindCookieProtect's answers for many hosts, from one pass over the list.
class CookieProtectLookup {
 public:
  explicit CookieProtectLookup(const cookies::ProtectList& list);
  cookies::ProtectMatch Find(std::string_view host) const;

 private:
  std::unordered_map<std::string, cookies::ProtectMatch> matches_;  // by lower-cased name
};

}  // namespace tidemark::firefox
