#include "firefox/firefox_cookies.h"

#include <algorithm>
#include <optional>

#include "locations/firefox_locations.h"
#include "platform/product.h"
#include "platform/text.h"
#include "platform/text_lines.h"

namespace tidemark::firefox {
namespace {

constexpr std::string_view kHttpOnlyMark = "#HttpOnly_";

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Folded(x) < Folded(y); });
}

const char* Flag(int64_t value) { return value == 1 ? "TRUE" : "FALSE"; }

// The leading block of Cookies.txt: empty lines and comments, but not the
// HttpOnly cookies that look like comments.
bool IsCookiesTxtHeaderLine(const std::string& line) {
  return line.empty() || (line[0] == '#' && !StartsWith(line, kHttpOnlyMark));
}

void AddNotices(CookieList& list, bool firefoxRunning) {
  list.push_back({"  ---Unable to access FireFox Cookie file---", 0, true});
  if (firefoxRunning) list.push_back({"  ---FireFox must be closed to access its Cookie file---", 0, true});
  list.push_back({"  ---Unable to display FireFox Cookies---", 0, true});
}

// One moz_cookies row per line, until the end or the first row that cannot be read.
void ReadCookieRows(TSQLiteTable& table, CookieList& list) {
  if (table.AtEnd()) return;
  const int id = table.ColumnIndex("ID"), name = table.ColumnIndex("Name"), value = table.ColumnIndex("value"),
            host = table.ColumnIndex("host"), path = table.ColumnIndex("path"), expiry = table.ColumnIndex("expiry"),
            secure = table.ColumnIndex("isSecure"), httpOnly = table.ColumnIndex("isHttpOnly");
  list.reserve(size_t(table.RowCount()));
  for (; !table.AtEnd(); table.NextRow()) {
    std::string hostText = table.Cell(host), nameText = table.Cell(name), line;
    line.reserve(128);
    line.append(hostText);
    line.append("\t").append(Flag(table.AsInteger(httpOnly)));
    line.append("\t").append(table.Cell(path));
    line.append("\t").append(Flag(table.AsInteger(secure)));
    line.append("\t").append(std::to_string(table.AsInteger(expiry)));
    line.append("\t").append(nameText);
    line.append("\t").append(table.Cell(value));
    list.push_back({std::move(line), table.AsInteger(id), false, std::move(hostText), std::move(nameText)});
  }
}

}  // namespace

CookieLoadResult LoadFirefoxCookies(platform::FileSystem& files, const std::string& cookiesFile, bool firefoxRunning,
                                    CookieList& list) {
  list.clear();
  if (locations::IsFileNotFoundText(cookiesFile) || !files.FileExists(cookiesFile)) return {CookieLoad::FileMissing};
  std::optional<TSQLiteDatabase> database;
  try {
    database.emplace(cookiesFile);
  } catch (const ESQLiteException& failure) {
    AddNotices(list, firefoxRunning);
    return {CookieLoad::Unreadable, failure.LastSQLiteMessage};
  }
  return LoadFirefoxCookies(*database, firefoxRunning, list);
}

CookieLoadResult LoadFirefoxCookies(TSQLiteDatabase& database, bool firefoxRunning, CookieList& list) {
  list.clear();
  std::optional<TSQLiteTable> table;
  try {
    // The columns the lines are made of, whatever else the table holds.
    table.emplace(database.Query("SELECT id, name, value, host, path, expiry, isSecure, isHttpOnly FROM moz_cookies"));
  } catch (const ESQLiteException& failure) {
    AddNotices(list, firefoxRunning);
    return {CookieLoad::Unreadable, failure.LastSQLiteMessage};
  }
  CookieLoadResult result;
  try {
    ReadCookieRows(*table, list);
  } catch (const ESQLiteException& failure) {
    result = {CookieLoad::ReadFailed, failure.what()};
  }
  SortCookies(list);
  return result;
}

void ShowCookieLoadProblem(CookieLoad outcome, cookies::UserMessages& messages) {
  if (outcome == CookieLoad::FileMissing)
    messages.Show(cookies::kMessageCaption,
                  "Unable to find FireFox Cookies file - Cookies.SQLite\r\nExecution will continue...");
  else if (outcome == CookieLoad::ReadFailed)
    messages.Show(std::string(kProductName) + " -  Message",
                  "Load FireFox Cookies File failed - Cookies.SQLite\r\nExecution will continue...");
}

void SortCookies(CookieList& list) {
  std::vector<std::string> hosts;
  hosts.reserve(list.size());
  for (const FirefoxCookie& cookie : list) hosts.push_back(CookieHost(cookie.line));
  std::vector<size_t> order(list.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (hosts[a] != hosts[b]) return LessNoCase(hosts[a], hosts[b]);
    return LessNoCase(list[a].line, list[b].line);
  });
  CookieList sorted;
  sorted.reserve(list.size());
  for (size_t i : order) sorted.push_back(std::move(list[i]));
  list = std::move(sorted);
}

std::string CookieHost(std::string_view line) {
  if (StartsWith(line, kHttpOnlyMark))
    line.remove_prefix(kHttpOnlyMark.size());
  else if (StartsWith(line, "#"))
    return {};
  return LowerCase(line.substr(0, line.find_first_of("\t\r\n")));
}

CookiesTxt ParseCookiesTxt(std::string_view text) {
  std::vector<std::string> lines = platform::SplitLines(text);
  size_t headerEnd = platform::HeaderBlockEnd(lines, IsCookiesTxtHeaderLine);
  CookiesTxt file;
  file.header.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(headerEnd));
  for (size_t i = headerEnd; i < lines.size(); ++i) file.cookies.push_back({std::move(lines[i])});
  return file;
}

std::string FormatCookiesTxt(const CookiesTxt& file) {
  std::string text;
  for (const std::string& line : file.header) text.append(line).push_back('\n');
  for (const FirefoxCookie& cookie : file.cookies) text.append(cookie.line).push_back('\n');
  return text;
}

void DeleteCookieRows(TSQLiteDatabase& database, const CookieList& cookies) {
  database.Execute("BEGIN");
  try {
    TSQLiteStatement remove(database, "DELETE FROM moz_cookies WHERE id = ?1 AND host = ?2 AND name = ?3");
    for (const FirefoxCookie& cookie : cookies) remove.Execute({cookie.id, cookie.host, cookie.name});
    database.Execute("COMMIT");
  } catch (const ESQLiteException&) {
    if (database.InTransaction()) database.Execute("ROLLBACK");
    throw;
  }
}

CookieProtectLookup::CookieProtectLookup(const cookies::ProtectList& list) {
  for (size_t i = 0; i < list.entries.size(); ++i) {
    std::string entry = LowerCase(list.entries[i]);
    char kind = 'P';
    std::string name = entry;
    if (StartsWith(entry, "p=")) {
      name = entry.substr(2);
    } else if (StartsWith(entry, "r=")) {
      name = entry.substr(2);
      kind = 'R';
    }
    // The first entry naming a host decides, as in the list's own look-up.
    matches_.try_emplace(std::move(name), cookies::ProtectMatch{true, kind, static_cast<int>(i)});
  }
}

cookies::ProtectMatch CookieProtectLookup::Find(std::string_view host) const {
  auto found = matches_.find(LowerCase(host));
  return found == matches_.end() ? cookies::ProtectMatch{} : found->second;
}

}  // namespace tidemark::firefox
