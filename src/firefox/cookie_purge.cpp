// The cookie purge: every cookie whose host the Firefox protect list does
// not name is deleted, the values of Random hosts are scrambled, protected
// cookies stay as they are. Works on cookies.sqlite, or on an older
// profile's Cookies.txt.
//
// The database work of one purge is one transaction: either every change is
// saved or none is, and the lines that claim changes are written only once
// they are saved. Rows are addressed by their id, so no host or name is ever
// read as a pattern.
#include <optional>
#include <span>

#include "cookies/protect_file.h"
#include "cookies/scramble.h"
#include "engine/labels.h"
#include "firefox/firefox_cookies.h"
#include "firefox/firefox_purges.h"
#include "platform/text.h"

namespace tidemark::firefox {
namespace {

constexpr std::string_view kFunction = "  Purge \"FireFox Cookies\"";
// Field 7 of a cookie line.
std::string ValueOf(const std::string& line) {
  std::vector<std::string> fields = Split(line, '\t');
  return fields.size() >= 7 ? fields[6] : std::string();
}

std::string Counted(int32_t count, const char* one, const char* many) {
  return std::to_string(count) + (count == 1 ? one : many);
}

class CookiePurge {
 public:
  CookiePurge(engine::PurgeEnvironment& env, cookies::RandomSource& random)
      : env_(env), random_(random), firefox_(env.located.firefox), sqlite_(firefox_.FirefoxSqliteFormat) {}

  void Run();

 private:
  bool LoadCookies();
  bool OpenForChanges();
  void Walk(const CookieProtectLookup& protect);
  bool DeleteCookieHost(const std::string& host, std::span<FirefoxCookie> run);
  void RandomizeHost(const std::string& host, std::span<FirefoxCookie> run);
  bool Save();
  bool Commit();
  bool CompactCookieDatabase() {
    return CompactDatabase(env_, *database_,
                           {"  Compact Cookie file completed", "*** Error - Compact Cookie file failed - ",
                            "*** Error - Compact Cookie file failed - exception"});
  }
  bool WriteCookiesTxt();
  // Ends the connection, its statements first, so that the lines of its
  // journal come before the totals.
  void CloseDatabase() {
    deleteCookie_.reset();
    updateValue_.reset();
    database_.reset();
  }
  void Totals();
  // A line of the walk: written once its changes are saved (error lines always).
  void Note(std::string line) { pending_.push_back(std::move(line)); }
  void NoteDetail(std::string_view label, const std::string& host) {
    if (env_.Detail()) Note(std::string(label) + host);
  }
  void NoteError(const std::string& line, const std::string& cause) {
    Note(WithCause(line, cause));
    env_.RaiseError(kDatabaseErrorLevel);
  }

  engine::PurgeEnvironment& env_;
  cookies::RandomSource& random_;
  const locations::FirefoxLocations& firefox_;
  const bool sqlite_;
  CookieList list_;
  std::vector<std::string> header_;  // of Cookies.txt
  std::optional<TSQLiteDatabase> database_;
  std::optional<TSQLiteStatement> deleteCookie_, updateValue_;
  bool aborted_ = false;  // the transaction was lost: no further changes
  std::vector<std::string> pending_;
  int32_t processed_ = 0;
  int32_t randomized_ = 0;
};

void CookiePurge::Run() {
  const std::string& file = sqlite_ ? firefox_.CookiesSqliteFile : firefox_.CookiesTxtFile;
  if (locations::IsFileNotFoundText(file)) {
    env_.Line("    Cookie File not found..");
    env_.WriteCompletion(kFunction);
    return;
  }
  std::optional<cookies::ProtectList> protect = CookieProtectionForPurge(env_, kFunction);
  if (!protect) return;
  // The database is opened only now, so no lock is held while the warning
  // waits for the user; the cookies are read inside the transaction that
  // changes them.
  if (sqlite_ && !OpenForChanges()) return;
  if (!LoadCookies()) return;

  Walk(CookieProtectLookup(*protect));
  bool saved = env_.Preview() || Save();
  for (const std::string& line : pending_)
    if (saved || engine::IsErrorLine(line)) env_.Line(line);
  if (database_ && env_.flags.compact) CompactCookieDatabase();
  CloseDatabase();
  if (saved) Totals();
}

// The cookie list; false after the line that tells why there is none.
bool CookiePurge::LoadCookies() {
  if (!sqlite_) {
    auto text = env_.platform.files.ReadFile(firefox_.CookiesTxtFile);
    if (!text) {
      FailureLine(env_, "*** Error - Load FireFox Cookies File failed - Cookies.txt", "");
      return false;
    }
    CookiesTxt file = ParseCookiesTxt(*text);
    header_ = std::move(file.header);
    list_ = std::move(file.cookies);
    SortCookies(list_);
    return true;
  }
  CookieLoadResult load = LoadFirefoxCookies(*database_, env_.state.firefoxRunning, list_);
  if (load.outcome == CookieLoad::Loaded) return true;
  FailureLine(env_, "*** Error - Load FireFox Cookies File failed - Cookies.SQLite", load.cause);
  // Nothing could be read (the notice lines are for the cookie manager's
  // list), or the rows read before the failure are purged.
  return load.outcome == CookieLoad::ReadFailed;
}

// Opens cookies.sqlite for the walk's changes, in a transaction unless this
// is a Preview; false after the line that tells why it failed.
bool CookiePurge::OpenForChanges() {
  if (!env_.platform.files.FileExists(firefox_.CookiesSqliteFile)) {
    FailureLine(env_, "*** Error - Unable to find FireFox Cookies file - Cookies.SQLite", "");
    return false;
  }
  try {
    database_.emplace(OpenProfileDatabase(env_, firefox_.CookiesSqliteFile));
    if (!env_.Preview()) database_->Execute("BEGIN IMMEDIATE");
    return true;
  } catch (const ESQLiteException& failure) {
    database_.reset();
    FailureLine(env_, "*** Error - Open FireFox Cookies file failed - Cookies.SQLite", failure.LastSQLiteMessage);
  }
  return false;
}

// Acts once per host on the run of its cookies (the sorted list keeps them
// together). Comment and empty lines are no cookies and stay.
void CookiePurge::Walk(const CookieProtectLookup& protect) {
  CookieList kept;
  for (size_t start = 0, end; start < list_.size(); start = end) {
    std::string host = CookieHost(list_[start].line);
    end = start + 1;
    if (!host.empty())
      while (end < list_.size() && CookieHost(list_[end].line) == host) ++end;
    std::span<FirefoxCookie> run(list_.data() + start, end - start);
    cookies::ProtectMatch match = host.empty() || aborted_ ? cookies::ProtectMatch{true} : protect.Find(host);
    bool removed = !match.found && DeleteCookieHost(host, run);
    if (match.found && match.kind == 'R') RandomizeHost(host, run);
    if (!removed) kept.insert(kept.end(), std::make_move_iterator(run.begin()), std::make_move_iterator(run.end()));
  }
  list_ = std::move(kept);
}

// Deletes the cookies of one host; false (they stay) in a Preview and when that failed.
bool CookiePurge::DeleteCookieHost(const std::string& host, std::span<FirefoxCookie> run) {
  if (!env_.Preview() && database_) {
    try {
      if (!deleteCookie_) deleteCookie_.emplace(*database_, "DELETE FROM moz_cookies WHERE id = ?1");
      for (const FirefoxCookie& cookie : run) deleteCookie_->Execute({cookie.id});
    } catch (const ESQLiteException& failure) {
      NoteError("*** Error - Delete Entry from FireFox Cookies file failed - Cookies.SQLite",
                failure.LastSQLiteMessage);
      aborted_ = !database_->InTransaction();
      return false;
    }
  }
  NoteDetail(env_.Preview() ? engine::kToDelete : engine::kDeleted, host);
  ++processed_;
  env_.UpdateProgress(10);
  return !env_.Preview();
}

// Scrambles the values of one host's cookies.
void CookiePurge::RandomizeHost(const std::string& host, std::span<FirefoxCookie> run) {
  if (env_.Preview()) {
    NoteDetail("  to Randomize - ", host);
  } else {
    try {
      for (FirefoxCookie& cookie : run) {
        cookies::ScrambleCookieLine(cookie.line, random_);
        if (!database_) continue;
        if (!updateValue_) updateValue_.emplace(*database_, "UPDATE moz_cookies SET value = ?1 WHERE id = ?2");
        updateValue_->Execute({ValueOf(cookie.line), cookie.id});
      }
    } catch (const ESQLiteException& failure) {
      NoteError("*** Error - Replace Entry in Cookies file failed - Cookies.SQLite", failure.LastSQLiteMessage);
      aborted_ = !database_->InTransaction();
      return;
    }
    NoteDetail("    Randomized - ", host);
  }
  ++randomized_;
  ++processed_;
}

// Makes the walk's changes permanent; false (with its error line) when none were saved.
bool CookiePurge::Save() { return database_ ? Commit() : WriteCookiesTxt(); }

bool CookiePurge::Commit() {
  std::string cause = "the changes were rolled back";
  if (!aborted_) {
    try {
      database_->Execute("COMMIT");
      return true;
    } catch (const ESQLiteException& failure) {
      cause = failure.LastSQLiteMessage;
    }
    try {
      database_->Execute("ROLLBACK");
    } catch (const ESQLiteException&) {
      // The library ended the transaction itself.
    }
  }
  NoteError("*** Error - Save changes to FireFox Cookies file failed - Cookies.SQLite", cause);
  return false;
}

bool CookiePurge::WriteCookiesTxt() {
  CookiesTxtReplace replaced = ReplaceCookiesTxt(env_, {header_, list_});
  if (replaced == CookiesTxtReplace::Failed) {
    NoteError("*** Error - Write FireFox Cookies file failed - Cookies.txt", "");
    return false;
  }
  if (replaced == CookiesTxtReplace::OldFileKept)
    NoteError(engine::FileResultLabel(env_.deletion.LastDeleteError, env_.report).substr(0, 17) +
                  firefox_.CookiesPg2File,
              "");
  return true;
}

void CookiePurge::Totals() {
  if (randomized_ > 0)
    env_.Line("    " + (env_.Preview() ? Counted(randomized_, " Cookie to Randomize.", " Cookies to Randomize.")
                                       : Counted(randomized_, " Cookie Randomized.", " Cookies Randomized.")));
  env_.WriteCompletion(engine::EntriesCompletion(kFunction), processed_);
}

// With nothing protected every cookie would go: the user confirms that,
// unless this is a Preview or the warning was silenced.
bool ProtectionAllowsPurge(engine::PurgeEnvironment& env, const cookies::ProtectList& protect) {
  std::string silenced = "N";
  std::string& showOption = env.cookies.firefoxShowOption ? *env.cookies.firefoxShowOption : silenced;
  if (!cookies::NoProtectionWarningNeeded(protect.Count, env.Preview(), showOption)) return true;
  const auto& confirm = env.cookies.confirmNoProtection;
  return confirm && confirm(cookies::CookieBrowser::Firefox, showOption);
}

}  // namespace

std::optional<cookies::ProtectList> CookieProtectionForPurge(engine::PurgeEnvironment& env,
                                                             std::string_view function) {
  cookies::ProtectList protect = cookies::LoadCookieProtectList(env.platform.files, env.cookies.firefoxProtectFile);
  if (!protect.OpenedOK) {
    env.Line("*** Error - Bypassed Cookie procesing as existing Protect file could not be opened");
    env.RaiseError(7);
    return std::nullopt;
  }
  if (!ProtectionAllowsPurge(env, protect)) {
    env.Line(std::string(function) + " Function Bypassed.");
    return std::nullopt;
  }
  return protect;
}

CookiesTxtReplace ReplaceCookiesTxt(engine::PurgeEnvironment& env, const CookiesTxt& file) {
  platform::FileSystem& files = env.platform.files;
  const locations::FirefoxLocations& firefox = env.located.firefox;
  const std::string &txt = firefox.CookiesTxtFile, &pg1 = firefox.CookiesPg1File, &pg2 = firefox.CookiesPg2File;
  if (firefox.FirefoxProfileFolder.empty() || locations::IsFileNotFoundText(txt)) return CookiesTxtReplace::Failed;
  bool replaced = false;
  if (files.WriteFile(pg1, FormatCookiesTxt(file))) {
    if (files.FileExists(pg2)) env.deletion.DeleteOrShredFile(pg2, "");
    if (files.RenameFile(txt, pg2)) {
      replaced = files.RenameFile(pg1, txt);
      if (!replaced) files.RenameFile(pg2, txt);
    }
  }
  if (!replaced) {
    files.RemoveFile(pg1);
    return CookiesTxtReplace::Failed;
  }
  return env.deletion.DeleteOrShredFile(pg2, "") ? CookiesTxtReplace::Replaced : CookiesTxtReplace::OldFileKept;
}

void FirefoxCookiesPurge(engine::PurgeEnvironment& env) {
  cookies::SeededRandom random = cookies::SeededRandom::FromClock();
  CookiePurge(env, random).Run();
}

}  // namespace tidemark::firefox
