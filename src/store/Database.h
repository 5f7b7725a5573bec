#pragma once
// A connection to the encrypted archive. Statements are written in the program's dialect
// (see Dialect.h) and translated before they reach the engine.
#include <memory>
#include <string>
#include <vector>

#include "store/Value.h"

struct sqlite3;
struct sqlite3_stmt;

namespace store {

// The fixed archive password: four digits, then seven lower-case letters.
extern const char* const kArchivePassword;

// Binds v to parameter index (from 1) of a statement as its engine type; the engine's result
// code (SQLITE_OK when bound).
int bindValue(sqlite3_stmt* stmt, int index, const Value& v);

struct QueryResult {
    std::vector<std::string> columns;
    std::vector<std::vector<Value>> rows;
};

// One prepared statement with its parameters bound, read row by row; finalized when destroyed.
class Statement {
public:
    ~Statement();
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Advances to the next row: true when a row is ready, false when done. Throws DbError.
    bool step();
    int columnCount() const;
    std::string columnName(int column) const;
    Value value(int column) const;  // of the current row

private:
    friend class Database;
    Statement(sqlite3* db, sqlite3_stmt* stmt, std::string source);

    sqlite3* db_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
    std::string source_;
};

class Database {
public:
    Database() = default;  // not open
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing archive; throws DbError when the file is missing, is not an
    // archive, has another password or cannot be read. Nothing is written to the file.
    static Database open(const std::string& path, const std::string& password = kArchivePassword);
    // Opens an existing archive for reading only: nothing can be written through it, and a
    // read-only file or folder opens all the same.
    static Database openReadOnly(const std::string& path,
                                 const std::string& password = kArchivePassword);
    // Creates a new archive file (it must not exist) with the schema and the shipped lookup data.
    static Database create(const std::string& path, const std::string& password = kArchivePassword);

    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }
    void close();

    // Statements are dialect SQL (see Dialect.h). Parameters bind in this order: first the
    // values of the statement's double-quoted literals, then the caller's params, which fill
    // the statement's own "?" placeholders from left to right. One statement per call.

    // Runs one statement (delete, update, insert, create...). Returns the rows changed.
    int execute(const std::string& sql, const std::vector<Value>& params = {});
    // Runs one select statement and returns all its rows.
    QueryResult query(const std::string& sql, const std::vector<Value>& params = {});
    // Prepares one statement for reading row by row (large results).
    Statement prepare(const std::string& sql, const std::vector<Value>& params = {});
    // Row id given to the last row inserted on this connection.
    std::int64_t lastInsertRowid() const;

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const;

    // Writes a copy of the archive to newPath (which must not exist), keyed with the same
    // password. The engine reads the archive in one read transaction, so the copy holds exactly
    // what was committed when it began, whatever other connections write meanwhile. On failure
    // the new file is removed.
    void copyTo(const std::string& newPath);
    // Rebuilds the archive's file without the room left by deleted rows.
    void compact();

    sqlite3* handle() const { return db_; }

private:
    static Database openWith(const std::string& path, const std::string& password, bool readOnly);
    Statement prepareAs(const std::string& sql, const std::vector<Value>& params,
                        const char* source);
    void exec(const char* sql, const char* source);

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string password_;
};

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

private:
    Database& db_;
    bool done_ = false;
};

}  // namespace store
