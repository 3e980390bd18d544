#pragma once
#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>

namespace tavlin {

// One prepared statement of a connection, finalized with this object. Parameters are numbered
// from 1 and columns from 0, as SQLite numbers them.
class SqliteStatement {
  public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // SQLITE_OK when the statement was prepared; its error otherwise (Step then returns it).
    int prepared() const { return prepared_; }

    void Bind(int index, std::int64_t value);
    void Bind(int index, double value);
    void Bind(int index, const std::string& value);
    void Bind(int index, const std::optional<std::int64_t>& value);
    void Bind(int index, const std::optional<double>& value);
    void BindNull(int index);

    // SQLITE_ROW, SQLITE_DONE or the error.
    int Step();
    // For the next execution: parameters kept, bound again as needed.
    void Reset();

    bool IsNull(int column) const;
    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::optional<std::int64_t> OptionalInt(int column) const;
    std::optional<double> OptionalReal(int column) const;

  private:
    sqlite3_stmt* statement_ = nullptr;
    int prepared_ = SQLITE_OK;
};

// Runs statements that return no rows; SQLITE_OK or the first error.
int SqliteExecute(sqlite3* db, const char* sql);

// The single integer a statement answers (a PRAGMA's); SQLite's code in *rc.
std::int64_t SqliteQueryInt(sqlite3* db, const char* sql, int* rc);

}  // namespace tavlin
