// Today's Firefox databases as the purges meet them (places, favicons, form history, cookies): Firefox's own tables and
// indexes, in WAL mode; and helpers over real SQLite files.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include "firefox/sqlite_database.h"

namespace tidemark::test {

// A schema in a SQL file of tests/data, which the demo profile's scripts build too.
struct SharedSchema {
  const char* file;
};
inline constexpr SharedSchema kCurrentPlacesSchema{"firefox/places.sql"},
    kCurrentFaviconsSchema{"firefox/favicons.sql"}, kCurrentFormHistorySchema{"firefox/formhistory.sql"},
    kCurrentCookiesSchema{"firefox/cookies.sql"};

// Creates (or opens) the database and runs the statements in order.
inline void BuildDatabase(const std::string& path, std::initializer_list<const char*> statements) {
  firefox::TSQLiteDatabase database(path, firefox::OpenMode::Create);
  for (const char* statement : statements) database.Query(statement);
}
inline void BuildDatabase(const std::string& path, SharedSchema schema) {
  std::ifstream file(std::string(TIDEMARK_TEST_DATA) + "/" + schema.file);
  ASSERT_TRUE(file) << schema.file;
  const std::string sql{std::istreambuf_iterator<char>(file), {}};
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(database, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << schema.file;
  sqlite3_close(database);
}

// The first column of the first row of a query, as text; the number of rows of a query.
inline std::string QueryText(const std::string& path, const std::string& sql) {
  firefox::TSQLiteDatabase database(path);
  firefox::TSQLiteTable table = database.Query(sql);
  return table.AtEnd() ? std::string() : table.AsText(0);
}
inline int64_t QueryCount(const std::string& path, const std::string& sql) {
  return std::stoll(QueryText(path, "SELECT COUNT(*) FROM (" + sql + ")"));
}

// A writer that stops as a crashing Firefox does: what it wrote stays in the write-ahead log, never copied into the
// database, for the next connection to find there.
inline void WriteWithoutCheckpoint(const std::string& path, std::initializer_list<const char*> statements) {
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
  sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  for (const char* statement : statements)
    EXPECT_EQ(sqlite3_exec(database, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement;
  sqlite3_close(database);
}

}  // namespace tidemark::test
