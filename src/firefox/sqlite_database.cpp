#include "firefox/sqlite_database.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <string_view>

#include "platform/text.h"

#ifdef _WIN32
// SQLite's own conversion from the code page of the "A" file functions.
extern "C" char* sqlite3_win32_mbcs_to_utf8(const char* text);
#endif

namespace tidemark::firefox {
namespace {

// SQLite wants file names in UTF-8; the program's are in the Windows code page.
std::string Utf8FileName(const std::string& name) {
#ifdef _WIN32
  char* converted = sqlite3_win32_mbcs_to_utf8(name.c_str());
  if (!converted) return name;
  std::string utf8 = converted;
  sqlite3_free(converted);
  return utf8;
#else
  return name;
#endif
}

// The type a column is read as: its declared type, compared exactly; an
// expression column takes the storage class of the first row's value.
int ColumnTypeOf(sqlite3_stmt* statement, int column) {
  const char* declared = sqlite3_column_decltype(statement, column);
  if (!declared) return sqlite3_column_type(statement, column);
  for (const char* name : {"INTEGER", "BOOLEAN"})
    if (std::strcmp(declared, name) == 0) return kSQLiteInteger;
  for (const char* name : {"NUMERIC", "FLOAT", "DOUBLE", "REAL"})
    if (std::strcmp(declared, name) == 0) return kSQLiteFloat;
  if (std::strcmp(declared, "BLOB") == 0) return kSQLiteBlob;
  return kSQLiteText;
}

// Toward zero, and within range where the double is not.
int64_t Truncated(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  if (value <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

// Finalizes a statement however its scope is left.
struct Finalizer {
  sqlite3_stmt* statement;
  ~Finalizer() { sqlite3_finalize(statement); }
};

// Makes a prepared statement ready for its next run however its run ends.
struct Rewinder {
  sqlite3_stmt* statement;
  ~Rewinder() {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
  }
};

// The pattern with each "%s" replaced by the next value.
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  auto value = values.begin();
  for (size_t at = 0; at < pattern.size(); ++at) {
    if (pattern.compare(at, 2, "%s") == 0 && value != values.end()) {
      text += *value++;
      ++at;
    } else {
      text += pattern[at];
    }
  }
  return text;
}

std::string FloatText(double value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

// A cell as its column's type reads it.
void TSQLiteTable::ReadCell(sqlite3_stmt* statement, int column, int type) {
  StoredCell& cell = cells_.emplace_back();
  if (sqlite3_column_type(statement, column) == SQLITE_NULL) return;
  const void* bytes = nullptr;
  switch (type) {
    case kSQLiteInteger:
      cell.kind = StoredCell::Integer;
      cell.integer = sqlite3_column_int64(statement, column);
      return;
    case kSQLiteFloat:
      cell.kind = StoredCell::Real;
      cell.real = sqlite3_column_double(statement, column);
      return;
    case kSQLiteText:  // up to its terminating zero
      bytes = sqlite3_column_text(statement, column);
      cell.size = bytes ? static_cast<uint32_t>(std::strlen(static_cast<const char*>(bytes))) : 0;
      break;
    case kSQLiteBlob:  // an empty blob is an empty cell
      bytes = sqlite3_column_blob(statement, column);
      cell.size = static_cast<uint32_t>(sqlite3_column_bytes(statement, column));
      if (cell.size == 0) return;
      break;
    default:
      return;
  }
  cell.kind = StoredCell::Bytes;
  cell.offset = bytes_.size();
  bytes_.append(static_cast<const char*>(bytes), cell.size);
}

TSQLiteDatabase::TSQLiteDatabase(const std::string& fileName, OpenMode mode, KeptJournalHandler keptJournal)
    : fileName_(fileName), keptJournal_(std::move(keptJournal)) {
  int flags = mode == OpenMode::ReadOnly ? SQLITE_OPEN_READONLY
              : mode == OpenMode::Create  ? SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE
                                          : SQLITE_OPEN_READWRITE;
  if (sqlite3_open_v2(Utf8FileName(fileName).c_str(), &handle_, flags, nullptr) != SQLITE_OK) {
    if (!handle_)
      throw ESQLiteException(Format("Failed to open database \"%s\" : unknown error", {fileName}), "unknown error");
    std::string message = sqlite3_errmsg(handle_);
    sqlite3_close(handle_);
    handle_ = nullptr;
    throw ESQLiteException(Format("Failed to open database \"%s\" : %s", {fileName, message}), message);
  }
  try {
    // Before the first read, which rolls back a journal left by a writer that
    // stopped mid-way: in exclusive mode that journal is kept, zeroed at its head.
    if (keptJournal_) Query("PRAGMA locking_mode = EXCLUSIVE;");
    Execute("PRAGMA SYNCHRONOUS=NORMAL;");
    Execute("PRAGMA temp_store = MEMORY;");
    // Up to 16 MiB of pages: a profile's cookie database fits whole, so a
    // purge that reads and then changes every row reads each page once.
    Execute("PRAGMA cache_size = -16384;");
    if (keptJournal_) {
      // The mode of a rollback journal is the connection's own; the log's is the database's and stays.
      if (Query("PRAGMA journal_mode").AsText(0) != "wal") Query("PRAGMA journal_mode = PERSIST");
      int persist = 1;
      sqlite3_file_control(handle_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    }
  } catch (...) {
    sqlite3_close(handle_);
    handle_ = nullptr;
    throw;
  }
}

TSQLiteDatabase::~TSQLiteDatabase() {
  if (!handle_) return;
  if (!keptJournal_) {
    sqlite3_close(handle_);
    return;
  }
  bool settled = JournalSettled();
  bool closed = sqlite3_close(handle_) == SQLITE_OK;
  for (const char* suffix : {"-journal", "-wal"}) keptJournal_(fileName_ + suffix, !(settled && closed));
}

// Nothing in the journal is needed any more: no transaction is open, a read
// succeeds (it would first have rolled back a journal an unfinished commit
// left), and every frame of the log is in the database.
bool TSQLiteDatabase::JournalSettled() {
  int logged = 0, copied = 0;
  return sqlite3_get_autocommit(handle_) &&
         sqlite3_exec(handle_, "SELECT COUNT(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK &&
         sqlite3_wal_checkpoint_v2(handle_, "main", SQLITE_CHECKPOINT_FULL, &logged, &copied) == SQLITE_OK &&
         logged == copied;
}

void TSQLiteDatabase::RaiseFailure(const std::string& message, const std::string& sql) {
  if (sqlite3_errcode(handle_) == SQLITE_OK) throw ESQLiteException(message, "No message");
  std::string library = sqlite3_errmsg(handle_);
  throw ESQLiteException(message + Format(" \"%s\" : %s", {sql, library}), library);
}

sqlite3_stmt* TSQLiteDatabase::Prepare(const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(handle_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
    RaiseFailure("Error executing SQL", sql);
  // Text holding no statement (blank, a comment) prepares to nothing.
  if (!statement) RaiseFailure("Could not prepare SQL statement", sql);
  return statement;
}

void TSQLiteDatabase::Execute(const std::string& sql) {
  Finalizer statement{Prepare(sql)};
  if (sqlite3_step(statement.statement) != SQLITE_DONE) RaiseFailure("Error executing SQL statement", sql);
}

TSQLiteTable TSQLiteDatabase::Query(const std::string& sql) { return TSQLiteTable(*this, sql); }

void TSQLiteDatabase::Attach(const std::string& fileName, const std::string& schema) {
  TSQLiteStatement(*this, "ATTACH DATABASE ?1 AS " + schema).Execute({Utf8FileName(fileName)});
}

bool TSQLiteDatabase::HasTable(const std::string& name, const std::string& column) {
  Finalizer statement{Prepare(column.empty()
                                  ? "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE"
                                  : "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2 COLLATE NOCASE")};
  sqlite3_bind_text(statement.statement, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(statement.statement, 2, column.data(), static_cast<int>(column.size()), SQLITE_TRANSIENT);
  int stepped = sqlite3_step(statement.statement);
  if (stepped != SQLITE_ROW && stepped != SQLITE_DONE) RaiseFailure("Error executing SQL statement", "sqlite_master");
  return stepped == SQLITE_ROW;
}

bool TSQLiteDatabase::InTransaction() const { return sqlite3_get_autocommit(handle_) == 0; }

int64_t TSQLiteDatabase::Changes() const { return sqlite3_changes64(handle_); }

TSQLiteStatement::TSQLiteStatement(TSQLiteDatabase& database, std::string sql)
    : database_(database), sql_(std::move(sql)), statement_(database.Prepare(sql_)) {}

TSQLiteStatement::~TSQLiteStatement() { sqlite3_finalize(statement_); }

void TSQLiteStatement::Execute(std::initializer_list<Value> values) {
  int index = 1;
  for (const Value& value : values) {
    if (const auto* number = std::get_if<int64_t>(&value))
      sqlite3_bind_int64(statement_, index, *number);
    else
      sqlite3_bind_text(statement_, index, std::get<std::string>(value).data(),
                        static_cast<int>(std::get<std::string>(value).size()), SQLITE_TRANSIENT);
    ++index;
  }
  Rewinder rewinder{statement_};
  if (sqlite3_step(statement_) != SQLITE_DONE) database_.RaiseFailure("Error executing SQL statement", sql_);
}

TSQLiteTable::TSQLiteTable(TSQLiteDatabase& database, const std::string& sql) {
  Finalizer finalizer{database.Prepare(sql)};
  sqlite3_stmt* statement = finalizer.statement;
  for (;;) {
    int stepped = sqlite3_step(statement);
    if (stepped == SQLITE_DONE) break;
    if (stepped == SQLITE_BUSY)
      throw ESQLiteException("Could not prepare SQL statement" + Format(" \"%s\" : %s", {sql, "SQLite is Busy"}),
                             "SQLite is Busy");
    if (stepped != SQLITE_ROW) database.RaiseFailure("Could not retrieve data", sql);
    if (++rowCount_ == 1) {
      for (int c = 0, n = sqlite3_column_count(statement); c < n; ++c) {
        columnNames_.push_back(UpperCase(sqlite3_column_name(statement, c)));
        columnTypes_.push_back(ColumnTypeOf(statement, c));
      }
    }
    for (int c = 0; c < ColumnCount(); ++c) ReadCell(statement, c, columnTypes_[size_t(c)]);
  }
}

bool TSQLiteTable::NextRow() {
  if (AtEnd()) return false;
  ++currentRow_;
  return true;
}

int TSQLiteTable::ColumnIndex(const std::string& name) const {
  std::string wanted = UpperCase(name);
  for (size_t c = 0; c < columnNames_.size(); ++c)
    if (columnNames_[c] == wanted) return static_cast<int>(c);
  if (rowCount_ == 0) throw ESQLiteException("Field " + name + " Not found. Empty dataset");
  throw ESQLiteException("Field not found in dataset: " + name);
}

const TSQLiteTable::StoredCell& TSQLiteTable::At(int column) const {
  if (AtEnd()) throw ESQLiteException("Table is at End of File");
  if (column < 0 || column >= ColumnCount())
    throw ESQLiteException("Column index out of range: " + std::to_string(column));
  return cells_[size_t(currentRow_) * columnNames_.size() + size_t(column)];
}

std::string TSQLiteTable::Cell(int column) const {
  if (At(column).kind == StoredCell::Empty) return {};
  return AsText(column);
}

std::string TSQLiteTable::AsText(int column) const {
  const StoredCell& cell = At(column);
  switch (cell.kind) {
    case StoredCell::Integer:
      return std::to_string(cell.integer);
    case StoredCell::Real:
      return FloatText(cell.real);
    case StoredCell::Bytes:
      return BytesOf(cell);
    default:
      return {};
  }
}

int64_t TSQLiteTable::AsInteger(int column) const {
  const StoredCell& cell = At(column);
  int type = columnTypes_[size_t(column)];
  if (type != kSQLiteInteger && type != kSQLiteFloat) throw ESQLiteException("Not an integer or numeric field");
  if (cell.kind == StoredCell::Integer) return cell.integer;
  if (cell.kind == StoredCell::Real) return Truncated(cell.real);
  return 0;
}

double TSQLiteTable::AsFloat(int column) const {
  const StoredCell& cell = At(column);
  int type = columnTypes_[size_t(column)];
  if (type != kSQLiteInteger && type != kSQLiteFloat) throw ESQLiteException("Not an integer or numeric field");
  if (cell.kind == StoredCell::Integer) return static_cast<double>(cell.integer);
  if (cell.kind == StoredCell::Real) return cell.real;
  return 0;
}

std::optional<std::string> TSQLiteTable::AsBlob(int column) const {
  const StoredCell& cell = At(column);
  if (columnTypes_[size_t(column)] != kSQLiteBlob) throw ESQLiteException("Not a Blob field");
  if (cell.kind != StoredCell::Bytes) return std::nullopt;
  return BytesOf(cell);
}

std::string TSQLiteTable::AsBlobText(int column) const { return AsBlob(column).value_or(std::string()); }

}  // namespace tidemark::firefox
