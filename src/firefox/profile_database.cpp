// What the Firefox purges share in their work on the profile's databases.
#include "firefox/firefox_purges.h"

namespace tidemark::firefox {
namespace {

// Shreds a journal the connection kept; a journal the database may still
// need stays, reported like a file in use.
void EraseJournal(engine::PurgeEnvironment& env, const std::string& journal, bool stillNeeded) {
  if (!env.platform.files.FileExists(journal)) return;
  engine::DeletionEngine& deletion = env.deletion;
  bool erased = !stillNeeded && deletion.DeleteOrShredFile(journal, "");
  uint32_t code = erased ? 0 : stillNeeded ? engine::error_code::kSharingViolation : deletion.LastDeleteError;
  env.Item(erased ? engine::ItemOutcome::Success : engine::ItemOutcome::Failure, deletion.DeletionLabel(code), journal);
}

}  // namespace

// secure_delete overwrites what is deleted inside the database file, but the
// pages as they were stay in its journal: the rollback journal's pre-images,
// the write-ahead log's frames (ours, and those a crashed Firefox left),
// which SQLite deletes or truncates unwritten. So with Secure Erase the
// connection keeps its journal on disk and the journal is shredded once the
// connection has closed. Keeping the journal in memory (or none) while the
// purge writes would be simpler, but a crash then could corrupt the user's
// database; this way SQLite's crash safety stays whole, and the database
// keeps its journal mode (Firefox makes a new log). A Preview writes nothing.
TSQLiteDatabase OpenProfileDatabase(engine::PurgeEnvironment& env, const std::string& path) {
  if (!env.flags.secureErase) return TSQLiteDatabase(path);
  KeptJournalHandler eraseJournal;
  if (!env.Preview())
    eraseJournal = [&env](const std::string& journal, bool stillNeeded) { EraseJournal(env, journal, stillNeeded); };
  TSQLiteDatabase database(path, OpenMode::Existing, std::move(eraseJournal));
  database.Query("PRAGMA secure_delete = ON;");
  return database;
}

bool CompactDatabase(engine::PurgeEnvironment& env, TSQLiteDatabase& database, const CompactionLines& lines) {
  try {
    database.Execute("PRAGMA SYNCHRONOUS=OFF;");
    database.Execute("VACUUM");
    env.Line(lines.completed);
    return true;
  } catch (const ESQLiteException& failure) {
    const std::string& cause = failure.LastSQLiteMessage;
    env.Line(cause.empty() ? lines.failedWithoutCause : lines.failed + cause);
  }
  env.RaiseError(kDatabaseErrorLevel);
  return false;
}

std::string WithCause(const std::string& line, const std::string& cause) {
  return cause.empty() ? line : line + " - " + cause;
}

void FailureLine(engine::PurgeEnvironment& env, const std::string& line, const std::string& cause) {
  env.Line(WithCause(line, cause));
  env.RaiseError(kDatabaseErrorLevel);
}

}  // namespace tidemark::firefox
