// The Firefox purge functions: cache, cookies, typed URLs, history and form
// history of the located profile. Each is the body of its purge function;
// the driver skips them while Firefox runs.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cookies/protect_list.h"

#include "engine/purge_environment.h"
#include "firefox/firefox_cookies.h"
#include "firefox/sqlite_database.h"

namespace tidemark::firefox {

void FirefoxCachePurge(engine::PurgeEnvironment& env);
void FirefoxCookiesPurge(engine::PurgeEnvironment& env);
void FirefoxTypedUrlsPurge(engine::PurgeEnvironment& env);
void FirefoxHistoryPurge(engine::PurgeEnvironment& env);
void FirefoxFormHistoryPurge(engine::PurgeEnvironment& env);

// The database work of the last three; false after an error line.
bool DeleteTypedUrls(engine::PurgeEnvironment& env);
bool DeleteHistory(engine::PurgeEnvironment& env);
bool DeleteFormHistory(engine::PurgeEnvironment& env);

// What DeleteHistory sends: to places.sqlite, then to favicons.sqlite with
// places.sqlite attached as "places"; a statement whose table the database
// lacks is left out.
struct HistoryStatements {
  std::vector<const char*> places, favicons;
};
const HistoryStatements& DeleteHistoryStatements();

// The cookie protect list (Tidemark.Dat, one list for every browser) of the
// cookie purge of function ("  Purge \"FireFox Cookies\""); nothing after the
// line that tells why the purge is bypassed: the list could not be read
// (severity 7), or nothing is protected and the user chose not to go on.
std::optional<cookies::ProtectList> CookieProtectionForPurge(engine::PurgeEnvironment& env,
                                                             std::string_view function);

// Opens one of the profile's databases for changes; with Secure Erase on,
// whatever is deleted through it is overwritten in the file, and the
// journal is shredded when the connection closes (its line written then).
TSQLiteDatabase OpenProfileDatabase(engine::PurgeEnvironment& env, const std::string& path);

// Puts the file in place of an older profile's Cookies.txt: written to
// Cookies.pg1, the old file moved aside to Cookies.pg2 and deleted through
// the deletion engine (shredded with Secure Erase), so the profile is never
// left without its Cookies.txt. OldFileKept: replaced, but Cookies.pg2 could
// not be deleted (env.deletion.LastDeleteError tells why).
enum class CookiesTxtReplace { Failed, Replaced, OldFileKept };
CookiesTxtReplace ReplaceCookiesTxt(engine::PurgeEnvironment& env, const CookiesTxt& file);

struct CompactionLines {
  std::string completed;
  std::string failed;              // followed by the library's message
  std::string failedWithoutCause;  // when there is none
};
// "PRAGMA SYNCHRONOUS=OFF;" and "VACUUM" on an open database, then the
// completed line or a failed one. False after a failure.
bool CompactDatabase(engine::PurgeEnvironment& env, TSQLiteDatabase& database, const CompactionLines& lines);

// The error level of a database the purge could not clean: the summary and
// an unattended run's exit code tell of it like of a file that could not go.
constexpr int kDatabaseErrorLevel = 3;

// An error line naming what failed, with the library's cause when known;
// raises the error level.
void FailureLine(engine::PurgeEnvironment& env, const std::string& line, const std::string& cause);
std::string WithCause(const std::string& line, const std::string& cause);

}  // namespace tidemark::firefox
