// SQLite behind the dictionary connection.
#include "glossmith/db/dictionary_connection.h"

namespace ulk {

bool DictionaryQuery::Compile(std::string_view sql) {
  if (!database_) {
    lastError_ = kQueryNoDatabase;
    return false;
  }
  if (sql.empty()) {
    lastError_ = kQueryNoText;
    return false;
  }
  statement_.reset();
  sqlite3_stmt* raw = nullptr;
  lastError_ =
      sqlite3_prepare_v2(database_, sql.data(), static_cast<int>(sql.size()), &raw, nullptr);
  statement_.reset(raw);
  if (lastError_ != SQLITE_OK || !statement_) {
    if (lastError_ == SQLITE_OK) lastError_ = SQLITE_MISUSE;  // only a comment or blanks
    return false;
  }
  columnCount_ = sqlite3_column_count(statement_.get());
  atEnd_ = false;
  return Next();
}

std::optional<std::string> DictionaryQuery::Column(int index) {
  if (!hasRow_) {
    lastError_ = kQueryNoRow;
    return std::nullopt;
  }
  if (index < 0 || index >= columnCount_) {
    lastError_ = kQueryBadColumn;
    return std::nullopt;
  }
  const auto* text = sqlite3_column_text(statement_.get(), index);
  if (!text) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), index)));
}

bool DictionaryQuery::Next() {
  if (!statement_) {
    lastError_ = kQueryNotCompiled;
    return false;
  }
  if (atEnd_) {
    lastError_ = kQueryAtEnd;
    return false;
  }
  const int result = sqlite3_step(statement_.get());
  if (result == SQLITE_ROW) {
    hasRow_ = true;
    return true;
  }
  hasRow_ = false;
  atEnd_ = true;
  if (result == SQLITE_DONE) return true;
  lastError_ = result;
  return false;
}

std::string DictionaryQuery::ColumnName(int index) const {
  if (!statement_ || index < 0 || index >= columnCount_) return {};
  const char* name = sqlite3_column_name(statement_.get(), index);
  return name ? name : "";
}

PreparedStatement& PreparedStatement::Reset() {
  sqlite3_reset(statement_.get());
  sqlite3_clear_bindings(statement_.get());
  nextParameter_ = 1;
  return *this;
}

PreparedStatement& PreparedStatement::Bind(std::string_view text) {
  sqlite3_bind_text(statement_.get(), nextParameter_++, text.data(), static_cast<int>(text.size()),
                    SQLITE_TRANSIENT);
  return *this;
}

PreparedStatement& PreparedStatement::Bind(std::int64_t value) {
  sqlite3_bind_int64(statement_.get(), nextParameter_++, value);
  return *this;
}

int PreparedStatement::Step() {
  return sqlite3_step(statement_.get());
}

std::optional<std::string> PreparedStatement::Text(int column) const {
  const auto* text = sqlite3_column_text(statement_.get(), column);
  if (!text) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column)));
}

std::string_view PreparedStatement::TextView(int column) const {
  const auto* text = sqlite3_column_text(statement_.get(), column);
  if (!text) return {};
  return std::string_view(reinterpret_cast<const char*>(text),
                          static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column)));
}

int PreparedStatement::ColumnType(int column) const {
  return sqlite3_column_type(statement_.get(), column);
}

std::int64_t PreparedStatement::Integer(int column) const {
  return sqlite3_column_int64(statement_.get(), column);
}

namespace {

// How often, in virtual machine steps, a running statement looks at its
// budget and its cancel check.
constexpr int kProgressPeriod = 10000;

int OpenFlags(DictionaryAccess access) {
  switch (access) {
    case DictionaryAccess::kRead:
      return SQLITE_OPEN_READONLY;
    case DictionaryAccess::kWrite:
      return SQLITE_OPEN_READWRITE;
    case DictionaryAccess::kCreate:
      break;
  }
  return SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}

}  // namespace

int DictionaryConnection::OnProgress(void* guard) {
  auto& g = *static_cast<StatementGuard*>(guard);
  g.spent += kProgressPeriod;
  if (g.cancel && g.cancel()) {
    g.stopped = StatementGuard::Stop::kCancelled;
    return 1;
  }
  if (g.spent > g.budget) {
    g.stopped = StatementGuard::Stop::kBudget;
    return 1;
  }
  return 0;
}

int DictionaryConnection::OnStatementStart(unsigned, void* guard, void*, void*) {
  auto& g = *static_cast<StatementGuard*>(guard);
  g.spent = 0;
  g.stopped = StatementGuard::Stop::kNone;
  return 0;
}

// A dictionary may come from anyone: its schema may hold views, triggers
// and functions that would run as our code reads it. None of it runs, and
// no statement can write the schema behind SQLite's back.
bool DictionaryConnection::Harden() {
  int applied = 0;
  const auto set = [&](int option, int value) {
    int now = -1;
    return sqlite3_db_config(database_, option, value, &now) == SQLITE_OK && now == value;
  };
  applied += set(SQLITE_DBCONFIG_DEFENSIVE, 1);
  applied += set(SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0);
  applied += set(SQLITE_DBCONFIG_ENABLE_TRIGGER, 0);
  applied += set(SQLITE_DBCONFIG_ENABLE_VIEW, 0);
  if (applied != 4) return false;
  guard_.budget = kDefaultStatementBudget;
  guard_.spent = 0;
  guard_.stopped = StatementGuard::Stop::kNone;
  sqlite3_progress_handler(database_, kProgressPeriod, &DictionaryConnection::OnProgress, &guard_);
  return sqlite3_trace_v2(database_, SQLITE_TRACE_STMT, &DictionaryConnection::OnStatementStart,
                          &guard_) == SQLITE_OK;
}

bool DictionaryConnection::Open(const std::string& path, DictionaryAccess access) {
  Close();
  sqlite3* raw = nullptr;
  const int result = sqlite3_open_v2(path.c_str(), &raw, OpenFlags(access), nullptr);
  handle_.reset(raw);
  if (result != SQLITE_OK) {
    handle_.reset();
    return false;
  }
  database_ = raw;
  access_ = access;
  // Another program (the translator, the administrator) may hold the file
  // for a moment.
  sqlite3_busy_timeout(database_, 5000);
  // Reading the header refuses a file that is not an SQLite 3 database
  // without writing anything.
  if (!Harden() || Execute("pragma schema_version") != SQLITE_OK) {
    Close();
    return false;
  }
  return true;
}

void DictionaryConnection::Close() {
  if (!database_) return;
  if (transaction_) {
    Execute(closeCommits_ ? "commit" : "rollback");
    transaction_ = false;
  }
  prepared_.clear();
  handle_.reset();
  database_ = nullptr;
  access_ = DictionaryAccess::kRead;
}

bool DictionaryConnection::IsReadOnly() const {
  return database_ && sqlite3_db_readonly(database_, "main") == 1;
}

bool DictionaryConnection::HasMoved() const {
  if (!database_) return false;
  int moved = 0;
  if (sqlite3_file_control(database_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK) {
    return false;
  }
  return moved != 0;
}

int DictionaryConnection::Execute(std::string_view sql) {
  lastResult_ = 0;
  if (!database_ || sql.empty()) {
    lastResult_ = 1;
    return lastResult_;
  }
  const std::string text(sql);
  lastResult_ = sqlite3_exec(database_, text.c_str(), nullptr, nullptr, nullptr);
  return lastResult_;
}

std::unique_ptr<DictionaryQuery> DictionaryConnection::Query(std::string_view sql) {
  if (!database_ || sql.empty()) return nullptr;
  auto query = std::make_unique<DictionaryQuery>(database_);
  if (!query->Compile(sql)) return nullptr;
  return query;
}

std::int64_t DictionaryConnection::LastInsertId() const {
  return database_ ? sqlite3_last_insert_rowid(database_) : 0;
}

std::string DictionaryConnection::ErrorMessage() const {
  if (!database_) return "";
  switch (guard_.stopped) {
    case StatementGuard::Stop::kBudget:
      return "la consulta se ha detenido: el diccionario le exigía demasiado trabajo";
    case StatementGuard::Stop::kCancelled:
      return "la consulta se ha cancelado";
    case StatementGuard::Stop::kNone:
      break;
  }
  return sqlite3_errmsg(database_);
}

bool DictionaryConnection::Begin() {
  if (!database_ || transaction_) return false;
  transaction_ = Execute("begin transaction") == SQLITE_OK;
  return transaction_;
}

bool DictionaryConnection::Commit() {
  if (!database_ || !transaction_) return false;
  transaction_ = false;
  return Execute("commit") == SQLITE_OK;
}

bool DictionaryConnection::Rollback() {
  if (!database_ || !transaction_) return false;
  transaction_ = false;
  return Execute("rollback") == SQLITE_OK;
}

PreparedStatement* DictionaryConnection::Prepared(const std::string& sql) {
  if (!database_) return nullptr;
  const auto found = prepared_.find(sql);
  if (found != prepared_.end()) return &found->second->Reset();
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v3(database_, sql.c_str(), static_cast<int>(sql.size()),
                         SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK ||
      !raw) {
    sqlite3_finalize(raw);
    return nullptr;
  }
  auto statement = std::make_unique<PreparedStatement>(database_, StatementHandle(raw));
  PreparedStatement* result = statement.get();
  prepared_.emplace(sql, std::move(statement));
  return result;
}

bool DictionaryConnection::UseWriteAheadLog() {
  if (!database_ || IsReadOnly()) return false;
  // Checkpoints (which wait for the disk) every 16 MB of log rather than
  // every 4 MB: storing many translations in a row stays fast.
  return Execute("pragma journal_mode=wal") == SQLITE_OK &&
         Execute("pragma synchronous=normal") == SQLITE_OK &&
         Execute("pragma wal_autocheckpoint=4000") == SQLITE_OK;
}

}  // namespace ulk
