// Access to Firefox's SQLite databases: a connection that executes
// statements, a query result held whole in memory with a row cursor, and a
// statement prepared once and run with bound values. Every failure raises
// ESQLiteException, which carries the library's message for callers to quote.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tidemark::firefox {

class ESQLiteException : public std::runtime_error {
 public:
  explicit ESQLiteException(const std::string& message, std::string sqliteMessage = {})
      : std::runtime_error(message), LastSQLiteMessage(std::move(sqliteMessage)) {}
  // The library's message of the failure ("No message" when it gave none,
  // "unknown error" when it could not even open); empty for failures of a
  // loaded table (unknown column, cursor at the end, wrong type).
  std::string LastSQLiteMessage;
};

// SQLite's fundamental datatypes: how a result column is read.
enum SQLiteType : int { kSQLiteInteger = 1, kSQLiteFloat = 2, kSQLiteText = 3, kSQLiteBlob = 4, kSQLiteNull = 5 };

// Existing: the browsers' files, never created when missing. ReadOnly: the
// same, opened for reading alone (a Preview). Create: tests and benchmarks
// building databases.
enum class OpenMode { Existing, ReadOnly, Create };

class TSQLiteTable;

// Called once the connection has closed, for each journal file it may have
// kept beside the database (the rollback journal, the write-ahead log; the
// file need not exist), and whether the database may still need it to
// recover: true after a transaction that did not end cleanly, a log not
// wholly copied into the database, or a connection that would not close.
using KeptJournalHandler = std::function<void(const std::string& journalFile, bool stillNeeded)>;

class TSQLiteDatabase {
 public:
  // fileName is in the Windows code page. With keptJournal, SQLite never
  // deletes or truncates the journal: the connection locks the database
  // exclusively from its first read, so the journal of an interrupted writer
  // it rolls back stays; a rollback journal outlives each commit (PERSIST),
  // the write-ahead log the close, once copied into the database. Then the
  // files go to keptJournal.
  explicit TSQLiteDatabase(const std::string& fileName, OpenMode mode = OpenMode::Existing,
                           KeptJournalHandler keptJournal = nullptr);
  ~TSQLiteDatabase();
  TSQLiteDatabase(TSQLiteDatabase&& other) noexcept
      : handle_(other.handle_), fileName_(std::move(other.fileName_)), keptJournal_(std::move(other.keptJournal_)) {
    other.handle_ = nullptr;
  }
  TSQLiteDatabase& operator=(TSQLiteDatabase&&) = delete;

  // Runs one statement that returns no rows.
  void Execute(const std::string& sql);
  // All rows of a query.
  TSQLiteTable Query(const std::string& sql);
  // Opens another database file in this connection under the schema name.
  void Attach(const std::string& fileName, const std::string& schema);
  // The database holds a table of this name, with this column when one is
  // given (case does not matter, as in SQL).
  bool HasTable(const std::string& name, const std::string& column = {});
  // Inside a transaction that BEGIN opened and nothing has ended yet.
  bool InTransaction() const;
  // The rows the last INSERT, UPDATE or DELETE changed.
  int64_t Changes() const;

 private:
  friend class TSQLiteTable;
  friend class TSQLiteStatement;
  // A prepared statement; raises when SQLite refuses the text.
  sqlite3_stmt* Prepare(const std::string& sql);
  [[noreturn]] void RaiseFailure(const std::string& message, const std::string& sql);
  bool JournalSettled();

  sqlite3* handle_ = nullptr;
  std::string fileName_;
  KeptJournalHandler keptJournal_;
};

// One statement, prepared once and executed many times with ?1, ?2, ...
// bound to the given values (so no value is ever read as SQL).
class TSQLiteStatement {
 public:
  using Value = std::variant<int64_t, std::string>;
  TSQLiteStatement(TSQLiteDatabase& database, std::string sql);
  ~TSQLiteStatement();
  TSQLiteStatement(const TSQLiteStatement&) = delete;
  TSQLiteStatement& operator=(const TSQLiteStatement&) = delete;

  // Binds the values and steps once; raises as TSQLiteDatabase::Execute.
  void Execute(std::initializer_list<Value> values);

 private:
  TSQLiteDatabase& database_;
  std::string sql_;
  sqlite3_stmt* statement_;
};

// The complete result of one query, read-only once loaded.
class TSQLiteTable {
 public:
  TSQLiteTable(TSQLiteDatabase& database, const std::string& sql);

  int32_t RowCount() const { return rowCount_; }
  int ColumnCount() const { return static_cast<int>(columnNames_.size()); }
  bool AtEnd() const { return currentRow_ >= rowCount_; }
  bool NextRow();

  // Index of a column, found by name in any letter case.
  int ColumnIndex(const std::string& name) const;
  // The cell as text; empty for SQL NULL.
  std::string Cell(int column) const;
  std::string AsText(int column) const;
  int64_t AsInteger(int column) const;
  double AsFloat(int column) const;
  // The blob's bytes; nothing for SQL NULL or an empty blob.
  std::optional<std::string> AsBlob(int column) const;
  std::string AsBlobText(int column) const;

  const std::vector<std::string>& ColumnNames() const { return columnNames_; }  // upper case
  const std::vector<int>& ColumnTypes() const { return columnTypes_; }          // SQLiteType

 private:
  // SQL NULL, a number, or bytes (text or a blob) kept in bytes_: one
  // buffer for all, as results run to many thousands of rows.
  struct StoredCell {
    enum Kind : uint8_t { Empty, Integer, Real, Bytes } kind = Empty;
    uint32_t size = 0;
    union {
      int64_t integer = 0;
      double real;
      size_t offset;
    };
  };
  void ReadCell(sqlite3_stmt* statement, int column, int type);
  const StoredCell& At(int column) const;
  std::string BytesOf(const StoredCell& cell) const { return bytes_.substr(cell.offset, cell.size); }

  std::vector<StoredCell> cells_;  // row-major
  std::string bytes_;
  std::vector<std::string> columnNames_;
  std::vector<int> columnTypes_;
  int32_t rowCount_ = 0;
  int32_t currentRow_ = 0;
};

}  // namespace tidemark::firefox
