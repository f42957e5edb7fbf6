// A writer that stops as a crashing Firefox does: what it wrote stays in the write-ahead log, never copied into the
// database, for the next connection to find there.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <initializer_list>
#include <string>

namespace tidemark::test {

inline void WriteWithoutCheckpoint(const std::string& path, std::initializer_list<const char*> statements) {
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
  sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  for (const char* statement : statements)
    EXPECT_EQ(sqlite3_exec(database, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement;
  sqlite3_close(database);
}

}  // namespace tidemark::test
