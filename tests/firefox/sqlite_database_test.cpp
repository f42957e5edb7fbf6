// The SQLite layer over real files: what a failure says, and that it leaves
// no file made and no file held.
#include "firefox/sqlite_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

namespace tidemark::firefox {
namespace {

namespace fs = std::filesystem;

std::string Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const ESQLiteException& failure) {
    return failure.what();
  }
  return "nothing raised";
}

TEST(SQLiteLayer, FailuresNameTheFileOrStatementAndTheCauseAndHoldNothing) {
  const fs::path folder =
      fs::temp_directory_path() / ("tm-sqlite-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::create_directories(folder);
  const std::string missing = (folder / "missing").string(), notes = (folder / "notes").string(), path = notes + "2";
  EXPECT_EQ(Raised([&] { TSQLiteDatabase database(missing); }),
            "Failed to open database \"" + missing + "\" : unable to open database file");
  EXPECT_FALSE(fs::exists(missing));
  std::ofstream(notes) << "Plain notes, long enough to be read as a database header and then some more text.";
  EXPECT_EQ(Raised([&] { TSQLiteDatabase database(notes); }),
            "Error executing SQL \"PRAGMA SYNCHRONOUS=NORMAL;\" : file is not a database");
  EXPECT_TRUE(fs::remove(notes)) << "the failed open still holds the file";
  TSQLiteDatabase(path, OpenMode::Create).Execute("CREATE TABLE t (id INTEGER PRIMARY KEY, word TEXT)");
  TSQLiteDatabase(path).Execute("WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 300) "
                                "INSERT INTO t SELECT v, 'word' FROM n");
  // Damaged: garbage over the table's pages.
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(4196) << std::string(3000, '\xA5');
  EXPECT_EQ(Raised([&] { TSQLiteDatabase(path).Query("SELECT word FROM t"); }),
            "Could not retrieve data \"SELECT word FROM t\" : database disk image is malformed");
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tidemark::firefox
