#include "firefox/sqlite_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

namespace tidemark::firefox {
namespace {

namespace fs = std::filesystem;

// The text of what the action raised.
std::string Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const ESQLiteException& failure) {
    return failure.what();
  }
  return "nothing raised";
}

// A fresh folder for each test, removed afterwards.
class SQLiteLayer : public ::testing::Test {
 protected:
  SQLiteLayer()
      : folder_(fs::temp_directory_path() /
                ("tm-sqlite-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    fs::create_directories(folder_);
  }
  ~SQLiteLayer() override { fs::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

 private:
  fs::path folder_;
};

TEST_F(SQLiteLayer, OpenFailuresNameThePathCreateNothingAndLeaveNoHandle) {
  std::string missing = Path("missing.sqlite");
  try {
    TSQLiteDatabase database(missing);
    ADD_FAILURE();
  } catch (const ESQLiteException& failure) {
    EXPECT_EQ(std::string(failure.what()),
              "Failed to open database \"" + missing + "\" : unable to open database file");
    EXPECT_EQ(failure.LastSQLiteMessage, "unable to open database file");
  }
  EXPECT_FALSE(fs::exists(missing));

  std::string notes = Path("notes.sqlite");
  std::ofstream(notes) << "Plain notes, long enough to be read as a database header and then some more text.";
  EXPECT_EQ(Raised([&] { TSQLiteDatabase database(notes); }),
            "Error executing SQL \"PRAGMA SYNCHRONOUS=NORMAL;\" : file is not a database");
  EXPECT_TRUE(fs::remove(notes)) << "the failed open still holds the file";
}

TEST_F(SQLiteLayer, StatementFailureTexts) {
  std::string path = Path("words.sqlite");
  TSQLiteDatabase database(path, OpenMode::Create);
  database.Execute("CREATE TABLE t (id INTEGER PRIMARY KEY, word TEXT)");
  database.Execute(
      "WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 300) "
      "INSERT INTO t SELECT v, 'word' FROM n");
  EXPECT_EQ(Raised([&] { database.Execute("DELETE FROM gone"); }),
            "Error executing SQL \"DELETE FROM gone\" : no such table: gone");
  EXPECT_EQ(Raised([&] { database.Query("SELECT * FROM gone"); }),
            "Error executing SQL \"SELECT * FROM gone\" : no such table: gone");
  EXPECT_EQ(Raised([&] { database.Execute("INSERT INTO t VALUES (1, 'again')"); }),
            "Error executing SQL statement \"INSERT INTO t VALUES (1, 'again')\" : UNIQUE constraint failed: t.id");
  EXPECT_EQ(Raised([&] { database.Query("SELECT abs(-9223372036854775807 - 1)"); }),
            "Could not retrieve data \"SELECT abs(-9223372036854775807 - 1)\" : integer overflow");
  try {
    database.Execute("   ");
  } catch (const ESQLiteException& failure) {
    EXPECT_EQ(std::string(failure.what()), "Could not prepare SQL statement");
    EXPECT_EQ(failure.LastSQLiteMessage, "No message");
  }

  // Locked by another connection (the schema is known from before).
  {
    TSQLiteDatabase writer(path);
    writer.Execute("BEGIN EXCLUSIVE");
    EXPECT_EQ(Raised([&] { database.Query("SELECT * FROM t"); }),
              "Could not prepare SQL statement \"SELECT * FROM t\" : SQLite is Busy");
    EXPECT_EQ(Raised([&] { database.Execute("DELETE FROM t"); }),
              "Error executing SQL statement \"DELETE FROM t\" : database is locked");
  }
  // Damaged: garbage over the table's pages.
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(4196) << std::string(3000, '\xA5');
  TSQLiteDatabase damaged(path);
  EXPECT_EQ(Raised([&] { damaged.Query("SELECT word FROM t"); }),
            "Could not retrieve data \"SELECT word FROM t\" : database disk image is malformed");
}

TEST_F(SQLiteLayer, CellsAreReadByTheirColumnsDeclaredType) {
  TSQLiteDatabase database(":memory:", OpenMode::Create);
  database.Execute(
      "CREATE TABLE c (id INTEGER PRIMARY KEY, b BOOLEAN, n NUMERIC, f FLOAT, d DOUBLE, r REAL, "
      "g BLOB, Name TEXT, l boolean, x)");
  database.Execute(
      "INSERT INTO c VALUES (1, 1, 2.5, 2.5, 2.5, 2.5, x'00ff', 't', 7, 3), "
      "(2, NULL, 9, 9, 9, 9, x'', NULL, 8, '4.75')");
  TSQLiteTable table = database.Query("SELECT *, 'x' || 'y' FROM c ORDER BY id");
  EXPECT_EQ(table.ColumnTypes(), (std::vector<int>{1, 1, 2, 2, 2, 2, 4, 3, 3, 1, 3}));
  EXPECT_EQ(table.ColumnIndex("ID"), 0);
  EXPECT_EQ(table.ColumnIndex("name"), 7) << "names are found in any case";
  EXPECT_EQ(table.AsText(2), "2.5");
  EXPECT_EQ(table.AsInteger(2), 2);
  EXPECT_EQ(table.AsFloat(0), 1.0);
  EXPECT_EQ(table.AsBlob(6), std::string("\0\xff", 2));
  EXPECT_EQ(Raised([&] { table.AsBlob(7); }), "Not a Blob field");
  EXPECT_EQ(Raised([&] { table.AsInteger(8); }), "Not an integer or numeric field") << "\"boolean\" is no BOOLEAN";
  EXPECT_EQ(Raised([&] { table.ColumnIndex("value"); }), "Field not found in dataset: value");

  ASSERT_TRUE(table.NextRow());
  EXPECT_EQ(table.AsInteger(1), 0) << "NULL";
  EXPECT_EQ(table.Cell(1), "");
  EXPECT_FALSE(table.AsBlob(6)) << "an empty blob is an empty cell";
  EXPECT_EQ(table.AsInteger(9), 4) << "an untyped column keeps the first row's storage class";
  ASSERT_TRUE(table.NextRow());
  EXPECT_TRUE(table.AtEnd());
  EXPECT_FALSE(table.NextRow());
  EXPECT_EQ(Raised([&] { table.Cell(0); }), "Table is at End of File");

  TSQLiteTable empty = database.Query("SELECT * FROM c WHERE id > 9");
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_EQ(Raised([&] { empty.ColumnIndex("name"); }), "Field name Not found. Empty dataset");
}

}  // namespace
}  // namespace tidemark::firefox
