#pragma once

// Small owners of SQLite handles: a prepared statement, and a transaction
// that rolls back unless committed. Failures raise TSimDbError.

#include "USimDatabase.h"

#include <sqlite3.h>

#include <string>

namespace Sim {

void Exec(sqlite3* db, const char* sql);

class TStatement {
public:
    TStatement(sqlite3* db, const std::string& sql)
        : Db(db) {
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &Stmt, nullptr) !=
            SQLITE_OK)
            throw TSimDbError(sqlite3_errmsg(db));
    }
    ~TStatement() { sqlite3_finalize(Stmt); }
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    TStatement& Bind(int index, const std::string& value) {
        Check(sqlite3_bind_text(Stmt, index, value.data(), static_cast<int>(value.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    TStatement& BindBlob(int index, const std::string& value) {
        Check(sqlite3_bind_blob(Stmt, index, value.data(), static_cast<int>(value.size()),
                                SQLITE_TRANSIENT));
        return *this;
    }
    TStatement& Bind(int index, sqlite3_int64 value) {
        Check(sqlite3_bind_int64(Stmt, index, value));
        return *this;
    }

    // True while a row is available.
    bool Step() {
        const int rc = sqlite3_step(Stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc == SQLITE_DONE)
            return false;
        throw TSimDbError(sqlite3_errmsg(Db));
    }
    void Run() {
        while (Step()) {
        }
    }
    void Reset() {
        sqlite3_reset(Stmt);
        sqlite3_clear_bindings(Stmt);
    }

    std::string Text(int col) const {
        const auto* p = sqlite3_column_blob(Stmt, col);
        const int n = sqlite3_column_bytes(Stmt, col);
        return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(n))
                 : std::string();
    }
    sqlite3_int64 Int(int col) const { return sqlite3_column_int64(Stmt, col); }

private:
    void Check(int rc) const {
        if (rc != SQLITE_OK)
            throw TSimDbError(sqlite3_errmsg(Db));
    }

    sqlite3* Db;
    sqlite3_stmt* Stmt = nullptr;
};

// Commits when asked to, rolls back on every other way out.
class TTransaction {
public:
    explicit TTransaction(sqlite3* db, bool write = true)
        : Db(db) {
        Exec(db, write ? "BEGIN IMMEDIATE" : "BEGIN");
    }
    ~TTransaction() {
        if (!Done)
            sqlite3_exec(Db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    void Commit() {
        Exec(Db, "COMMIT");
        Done = true;
    }

private:
    sqlite3* Db;
    bool Done = false;
};

} // namespace Sim
