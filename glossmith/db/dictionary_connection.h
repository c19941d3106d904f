// One open dictionary database: statement execution, queries row by row,
// prepared statements kept for reuse, and the one managed transaction.
// Every SQLite handle and statement is owned by an RAII object; nothing here
// throws.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ulk {

// Last-error values of a query besides SQLite's own codes.
enum QueryError : int {
  kQueryNoDatabase = 1000,
  kQueryNoText = 1001,
  kQueryNotCompiled = 1002,
  kQueryBadColumn = 1003,
  kQueryNoRow = 1004,
  kQueryAtEnd = 1005,
};

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

// A cursor over one compiled statement; its columns are texts.
class DictionaryQuery {
 public:
  explicit DictionaryQuery(sqlite3* database) : database_(database) {}

  // Compiles the first statement of `sql` and reads the first row.
  bool Compile(std::string_view sql);
  bool AtEnd() const { return atEnd_; }
  // Column i of the current row; none for NULL, no row (1004) or a bad
  // index (1003).
  std::optional<std::string> Column(int index);
  // Steps to the next row; at the end (or on an error, kept as the last
  // error) the query is at its end, so a loop reading until then ends.
  bool Next();
  int ColumnCount() const { return columnCount_; }
  std::string ColumnName(int index) const;
  int LastError() const { return lastError_; }

 private:
  sqlite3* database_;
  StatementHandle statement_;
  int columnCount_ = 0;
  int lastError_ = 0;
  bool atEnd_ = true;
  bool hasRow_ = false;
};

// A statement compiled once and run many times with bound values.
class PreparedStatement {
 public:
  PreparedStatement(sqlite3* database, StatementHandle statement)
      : database_(database), statement_(std::move(statement)) {}

  // Clears the previous run; the values are then bound in order.
  PreparedStatement& Reset();
  PreparedStatement& Bind(std::string_view text);
  PreparedStatement& Bind(std::int64_t value);
  // Steps: SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  std::optional<std::string> Text(int column) const;
  // The column's text of the current row, valid until the next step; ""
  // for NULL.
  std::string_view TextView(int column) const;
  std::int64_t Integer(int column) const;
  // SQLITE_TEXT, SQLITE_NULL... of the column in the current row.
  int ColumnType(int column) const;

 private:
  sqlite3* database_;
  StatementHandle statement_;
  int nextParameter_ = 1;
};

class DictionaryConnection {
 public:
  DictionaryConnection() = default;
  ~DictionaryConnection() { Close(); }
  DictionaryConnection(const DictionaryConnection&) = delete;
  DictionaryConnection& operator=(const DictionaryConnection&) = delete;

  // Closes any open database, then opens or creates the file. False when
  // the file cannot be opened or is not a database (an SQLite 2 file, a
  // text, garbage); an existing empty file opens as an empty database.
  bool Open(const std::string& path);
  bool IsOpen() const { return database_ != nullptr; }
  // Commits an active managed transaction, then closes.
  void Close();
  bool IsReadOnly() const;
  // True when the file was deleted, renamed or replaced since it was
  // opened: changes would then go to a file nobody can open again.
  bool HasMoved() const;

  // Runs statements without results; 0 or the SQLite result code, kept as
  // LastResult (1 when closed or without text).
  int Execute(std::string_view sql);
  // A query at its first row; none when it cannot be compiled or its first
  // step fails. A statement without rows gives a query at its end.
  std::unique_ptr<DictionaryQuery> Query(std::string_view sql);
  std::int64_t LastInsertId() const;
  int LastResult() const { return lastResult_; }
  // Records the result of a statement run outside Execute.
  void NoteResult(int result) { lastResult_ = result; }
  std::string ErrorMessage() const;

  bool Begin();
  bool Commit();
  bool Rollback();
  bool InTransaction() const { return transaction_; }

  // The statement for `sql`, compiled on first use and kept; null when it
  // does not compile.
  PreparedStatement* Prepared(const std::string& sql);

  // Write-ahead logging with normal syncing: a commit survives a crash of
  // the program, and writes do not wait for the disk. Only for a writable
  // dictionary already checked (it writes the file's header).
  bool UseWriteAheadLog();

 private:
  struct DatabaseDeleter {
    void operator()(sqlite3* database) const { sqlite3_close_v2(database); }
  };
  std::unordered_map<std::string, std::unique_ptr<PreparedStatement>> prepared_;
  std::unique_ptr<sqlite3, DatabaseDeleter> handle_;
  sqlite3* database_ = nullptr;
  int lastResult_ = 0;
  bool transaction_ = false;
  const bool closeCommits_ = true;
};

}  // namespace ulk
