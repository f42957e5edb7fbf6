// What the Firefox purges share in their work on the profile's databases.
#include "firefox/firefox_purges.h"

namespace tidemark::firefox {

TSQLiteDatabase OpenProfileDatabase(engine::PurgeEnvironment& env, const std::string& path) {
  TSQLiteDatabase database(path);
  if (env.flags.secureErase) database.Query("PRAGMA secure_delete = ON;");
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
    env.Line(cause.empty() ? std::string(lines.failedWithoutCause) : lines.failed + cause);
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
