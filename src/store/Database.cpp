#include "store/Database.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#include <sqlcipher/sqlite3.h>

#include "store/DbError.h"
#include "store/Dialect.h"
#include "store/Schema.h"

namespace store {

const char* const kArchivePassword = "2005valdora";

namespace {

constexpr int kBusyTimeoutMs = 2000;

[[noreturn]] void fail(sqlite3* db, int rc, const char* source) {
    int extended = rc;
    if (db && rc == (rc & 0xFF) && (sqlite3_extended_errcode(db) & 0xFF) == rc) {
        extended = sqlite3_extended_errcode(db);
    }
    // A write refused for lack of room is a full disk, whichever way the engine reports it.
    const int number = extended & 0xFF;
    if (db && sqlite3_system_errno(db) == ENOSPC &&
        (number == SQLITE_IOERR || number == SQLITE_FULL)) {
        extended = SQLITE_FULL;
    }
    const std::string engineText = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw DbError(extended & 0xFF, MotivoErrore(extended, engineText), source, engineText);
}

// The connection settings every archive connection shares.
void configure(sqlite3* db, const std::string& password) {
    sqlite3_extended_result_codes(db, 1);
    sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
}

bool onlyBlanksOrSemicolons(const char* tail) {
    for (; tail && *tail; ++tail) {
        const char c = *tail;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != ';') return false;
    }
    return true;
}

void bind(sqlite3* db, sqlite3_stmt* stmt, int index, const Value& v, const char* source) {
    const int rc = bindValue(stmt, index, v);
    if (rc != SQLITE_OK) fail(db, rc, source);
}

}  // namespace

int bindValue(sqlite3_stmt* stmt, int index, const Value& v) {
    if (v.isNull()) return sqlite3_bind_null(stmt, index);
    if (v.isInteger()) return sqlite3_bind_int64(stmt, index, v.toInt());
    if (v.isReal()) return sqlite3_bind_double(stmt, index, v.toDouble());
    const std::string text = v.toText();
    return sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                             SQLITE_TRANSIENT);
}

// ---- Statement -------------------------------------------------------------------------------

Statement::Statement(sqlite3* db, sqlite3_stmt* stmt, std::string source)
    : db_(db), stmt_(stmt), source_(std::move(source)) {}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_),
      stmt_(std::exchange(other.stmt_, nullptr)),
      source_(std::move(other.source_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(stmt_);
        db_ = other.db_;
        stmt_ = std::exchange(other.stmt_, nullptr);
        source_ = std::move(other.source_);
    }
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    fail(db_, rc, source_.c_str());
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

std::string Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

Value Statement::value(int column) const {
    switch (sqlite3_column_type(stmt_, column)) {
        case SQLITE_INTEGER:
            return Value(static_cast<std::int64_t>(sqlite3_column_int64(stmt_, column)));
        case SQLITE_FLOAT:
            return Value(sqlite3_column_double(stmt_, column));
        case SQLITE_NULL:
            return Value();
        default: {
            const auto* text = sqlite3_column_text(stmt_, column);
            const int bytes = sqlite3_column_bytes(stmt_, column);
            return Value(
                std::string(reinterpret_cast<const char*>(text), static_cast<std::size_t>(bytes)));
        }
    }
}

// ---- Database --------------------------------------------------------------------------------

Database::~Database() {
    close();
}

Database::Database(Database&& other) noexcept
    : db_(std::exchange(other.db_, nullptr)),
      path_(std::move(other.path_)),
      password_(std::move(other.password_)) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
        path_ = std::move(other.path_);
        password_ = std::move(other.password_);
    }
    return *this;
}

void Database::close() {
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
}

Database Database::open(const std::string& path, const std::string& password) {
    return openWith(path, password, false);
}

Database Database::openReadOnly(const std::string& path, const std::string& password) {
    return openWith(path, password, true);
}

Database Database::openWith(const std::string& path, const std::string& password, bool readOnly) {
    constexpr const char* kSource = "Database.Open";
    if (path.empty()) fail(nullptr, SQLITE_CANTOPEN, kSource);
    Database db;
    db.path_ = path;
    db.password_ = password;
    // Without create: a missing file is an error, never a new empty archive.
    const int rc = sqlite3_open_v2(
        path.c_str(), &db.db_, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) fail(db.db_, rc, kSource);
    configure(db.db_, password);
    registerDialectFunctions(db.db_);
    // The key is only checked when the first page is read: a wrong password, a file that is
    // not an archive, a locked or unreadable file all fail here, before anything is written.
    Statement check = db.prepareAs("SELECT count(*) FROM sqlite_master", {}, kSource);
    check.step();
    if (check.value(0).toInt() == 0) {
        fail(nullptr, SQLITE_NOTADB, kSource);  // empty file
    }
    if (!readOnly && sqlite3_db_readonly(db.db_, "main") == 1) {
        fail(nullptr, SQLITE_READONLY, kSource);
    }
    return db;
}

Database Database::create(const std::string& path, const std::string& password) {
    constexpr const char* kSource = "Database.Create";
    if (path.empty() || std::filesystem::exists(path)) {
        throw DbError(SQLITE_CANTOPEN, "Il file esiste già: " + path, kSource);
    }
    Database db;
    db.path_ = path;
    db.password_ = password;
    const int rc =
        sqlite3_open_v2(path.c_str(), &db.db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    try {
        if (rc != SQLITE_OK) fail(db.db_, rc, kSource);
        configure(db.db_, password);
        registerDialectFunctions(db.db_);
        Transaction tx(db);
        createSchema(db);
        tx.commit();
    } catch (...) {
        db.close();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
    return db;
}

Statement Database::prepareAs(const std::string& sql, const std::vector<Value>& params,
                              const char* source) {
    if (!db_) throw DbError(SQLITE_MISUSE, "L'archivio non è aperto", source);
    const Translated translated = translate(sql);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, translated.sql.c_str(),
                                      static_cast<int>(translated.sql.size()), &raw, &tail);
    if (rc != SQLITE_OK) fail(db_, rc, source);
    Statement stmt(db_, raw, source);
    if (!raw) throw DbError(SQLITE_MISUSE, "Istruzione SQL vuota", source);
    if (!onlyBlanksOrSemicolons(tail)) {
        throw DbError(SQLITE_MISUSE, "Una sola istruzione SQL alla volta", source);
    }
    const std::size_t given = translated.params.size() + params.size();
    if (given != static_cast<std::size_t>(sqlite3_bind_parameter_count(raw))) {
        throw DbError(SQLITE_RANGE, "Numero di parametri errato per l'istruzione: " + sql, source);
    }
    int index = 1;
    for (const Value& v : translated.params) bind(db_, raw, index++, v, source);
    for (const Value& v : params) bind(db_, raw, index++, v, source);
    return stmt;
}

void Database::exec(const char* sql, const char* source) {
    Statement stmt = prepareAs(sql, {}, source);
    while (stmt.step()) {
    }
}

int Database::execute(const std::string& sql, const std::vector<Value>& params) {
    Statement stmt = prepareAs(sql, params, "Database.Execute");
    const int before = sqlite3_total_changes(db_);
    while (stmt.step()) {
    }
    return sqlite3_total_changes(db_) - before;
}

QueryResult Database::query(const std::string& sql, const std::vector<Value>& params) {
    Statement stmt = prepareAs(sql, params, "Database.Query");
    QueryResult result;
    const int n = stmt.columnCount();
    for (int c = 0; c < n; ++c) result.columns.push_back(stmt.columnName(c));
    while (stmt.step()) {
        std::vector<Value>& row = result.rows.emplace_back();
        row.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c) row.push_back(stmt.value(c));
    }
    return result;
}

Statement Database::prepare(const std::string& sql, const std::vector<Value>& params) {
    return prepareAs(sql, params, "Database.Query");
}

std::int64_t Database::lastInsertRowid() const {
    return sqlite3_last_insert_rowid(db_);
}

void Database::begin() {
    exec("BEGIN IMMEDIATE", "Database.Begin");
}
void Database::commit() {
    exec("COMMIT", "Database.Commit");
}
void Database::rollback() {
    exec("ROLLBACK", "Database.Rollback");
}
bool Database::inTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}

void Database::copyTo(const std::string& newPath) {
    constexpr const char* kSource = "Database.Copy";
    if (!db_) throw DbError(SQLITE_MISUSE, "L'archivio non è aperto", kSource);
    if (newPath.empty() || std::filesystem::exists(newPath)) {
        throw DbError(SQLITE_CANTOPEN, "Il file esiste già: " + newPath, kSource);
    }
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(newPath.c_str(), &copy, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        configure(copy, password_);
        // One step: every page is read under one read lock, so the copy is one moment of the
        // archive and never a mix of before and after another connection's save.
        sqlite3_backup* backup = sqlite3_backup_init(copy, "main", db_, "main");
        if (backup == nullptr) {
            rc = sqlite3_errcode(copy);
        } else {
            // A step that stopped short (the archive busy) is no error to finish.
            const int step = sqlite3_backup_step(backup, -1);
            const int finish = sqlite3_backup_finish(backup);
            rc = step == SQLITE_DONE || finish != SQLITE_OK ? finish : step;
        }
    }
    if (rc != SQLITE_OK) {
        try {
            fail(copy, rc, kSource);
        } catch (...) {
            sqlite3_close_v2(copy);
            std::error_code ignored;
            std::filesystem::remove(newPath, ignored);
            throw;
        }
    }
    sqlite3_close_v2(copy);
}

void Database::compact() {
    exec("VACUUM", "Database.Compact");
}

// ---- Transaction -----------------------------------------------------------------------------

Transaction::Transaction(Database& db) : db_(db) {
    db_.begin();
}

Transaction::~Transaction() {
    if (!done_ && db_.inTransaction()) {
        try {
            db_.rollback();
        } catch (const DbError&) {
            // A destructor must not throw; the engine rolls back when the connection closes.
        }
    }
}

void Transaction::commit() {
    db_.commit();
    done_ = true;
}

}  // namespace store
