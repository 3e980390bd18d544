#include "records/SqliteStatement.h"

#include <cmath>

namespace tavlin {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    prepared_ = sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

void SqliteStatement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
}

void SqliteStatement::Bind(int index, double value) {
    // SQLite keeps a NaN as NULL anyway; saying so here keeps the reading side symmetric.
    if (std::isnan(value)) {
        BindNull(index);
        return;
    }
    sqlite3_bind_double(statement_, index, value);
}

void SqliteStatement::Bind(int index, const std::string& value) {
    sqlite3_bind_text(statement_, index, value.data(), static_cast<int>(value.size()),
                      SQLITE_TRANSIENT);
}

void SqliteStatement::Bind(int index, const std::optional<std::int64_t>& value) {
    if (value) {
        Bind(index, *value);
    } else {
        BindNull(index);
    }
}

void SqliteStatement::Bind(int index, const std::optional<double>& value) {
    if (value) {
        Bind(index, *value);
    } else {
        BindNull(index);
    }
}

void SqliteStatement::BindNull(int index) {
    sqlite3_bind_null(statement_, index);
}

int SqliteStatement::Step() {
    if (prepared_ != SQLITE_OK) {
        return prepared_;
    }
    return sqlite3_step(statement_);
}

void SqliteStatement::Reset() {
    sqlite3_reset(statement_);
}

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t SqliteStatement::Int(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double SqliteStatement::Real(int column) const {
    return IsNull(column) ? std::nan("") : sqlite3_column_double(statement_, column);
}

std::string SqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    const int size = sqlite3_column_bytes(statement_, column);
    return text ? std::string(text, static_cast<size_t>(size)) : std::string();
}

std::optional<std::int64_t> SqliteStatement::OptionalInt(int column) const {
    if (IsNull(column)) {
        return std::nullopt;
    }
    return Int(column);
}

std::optional<double> SqliteStatement::OptionalReal(int column) const {
    if (IsNull(column)) {
        return std::nullopt;
    }
    return Real(column);
}

int SqliteExecute(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

std::int64_t SqliteQueryInt(sqlite3* db, const char* sql, int* rc) {
    SqliteStatement statement(db, sql);
    *rc = statement.Step();
    if (*rc != SQLITE_ROW) {
        return 0;
    }
    *rc = SQLITE_OK;
    return statement.Int(0);
}

}  // namespace tavlin
