// One open dictionary database: statement execution, queries row by row,
// prepared statements kept for reuse, and the one managed transaction.
// Every SQLite handle and statement is owned by an RAII object; nothing here
// throws.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <functional>
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
  // A value refused before it reached the file: not a stored text.
  kQueryNotStoredText = 1006,
};

// How a dictionary file is opened.
enum class DictionaryAccess {
  kRead,    // read-only: the file never changes, a missing file is refused
  kWrite,   // read and write an existing file (read-only when it is write-protected)
  kCreate,  // kWrite, and a missing file is created (empty)
};

// The work one statement may do before it is stopped, in SQLite's virtual
// machine steps (some tens of millions a second). The largest statement of
// ours, the TMX export's list of pairs, takes about 60 steps a pair: 60
// million for a dictionary of a million links. Thirty times that leaves
// room for far larger dictionaries and still ends a runaway statement (a
// file made to loop) within seconds to a minute.
inline constexpr std::uint64_t kDefaultStatementBudget = 2'000'000'000ULL;

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
  // `statement` belongs to `database`, which outlives it.
  PreparedStatement(sqlite3* /*database*/, StatementHandle statement)
      : statement_(std::move(statement)) {}

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
  StatementHandle statement_;
  int nextParameter_ = 1;
};

class DictionaryConnection {
 public:
  DictionaryConnection() = default;
  ~DictionaryConnection() { Close(); }
  DictionaryConnection(const DictionaryConnection&) = delete;
  DictionaryConnection& operator=(const DictionaryConnection&) = delete;

  // Closes any open database, then opens the file as `access` says. False
  // when the file cannot be opened or is not a database (an SQLite 2 file,
  // a text, garbage); an existing empty file opens as an empty database.
  // Whatever the file holds, it cannot make the connection run its own
  // code: defensive mode, an untrusted schema, no triggers or views, and
  // every statement held to the statement budget.
  bool Open(const std::string& path, DictionaryAccess access = DictionaryAccess::kCreate);
  bool IsOpen() const { return database_ != nullptr; }
  // Commits an active managed transaction, then closes.
  void Close();
  bool IsReadOnly() const;
  // The access the file was opened with (kRead while closed).
  DictionaryAccess access() const { return access_; }

  // The budget of each statement from now on (kDefaultStatementBudget at
  // every open).
  void SetStatementBudget(std::uint64_t steps) { guard_.budget = steps; }
  // Asked now and then while a statement runs (a window keeps itself
  // responsive there); returning true stops the statement, which then
  // fails. Empty: never stopped.
  void SetCancelCheck(std::function<bool()> cancel) { guard_.cancel = std::move(cancel); }
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
  // Why the last statement failed; in Spanish when it was stopped by its
  // budget or cancelled.
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
  // The budget of the statement that runs, reset as each one starts.
  struct StatementGuard {
    std::uint64_t budget = kDefaultStatementBudget;
    std::uint64_t spent = 0;
    std::function<bool()> cancel;
    enum class Stop { kNone, kBudget, kCancelled } stopped = Stop::kNone;
  };
  static int OnProgress(void* guard);
  static int OnStatementStart(unsigned type, void* guard, void*, void*);
  bool Harden();

  std::unordered_map<std::string, std::unique_ptr<PreparedStatement>> prepared_;
  std::unique_ptr<sqlite3, DatabaseDeleter> handle_;
  sqlite3* database_ = nullptr;
  int lastResult_ = 0;
  bool transaction_ = false;
  const bool closeCommits_ = true;
  DictionaryAccess access_ = DictionaryAccess::kRead;
  StatementGuard guard_;
};

}  // namespace ulk
