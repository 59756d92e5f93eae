#include "db/db.h"

#include <mysql.h>

#include <climits>
#include <cstring>
#include <deque>

#include "db/statements.h"

struct DbLink {
    MYSQL* mysql = nullptr;  // 0 once closed
    // The last statement was refused before it reached the server; it reads as failed.
    bool lastRefused = false;
};

DbHandle DbConnection = nullptr;
DbResultHandle RecordSet = nullptr;

namespace {

// Links stay allocated for the whole process, so that a stale handle kept after DbClose
// finds a closed link instead of freed memory.
std::deque<DbLink>& Links() {
    static std::deque<DbLink> links;
    return links;
}

MYSQL* OpenClient(DbHandle connection) {
    return connection != nullptr ? connection->mysql : nullptr;
}

const char* OrAbsent(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// Fetches the value of the first column called `name` in the row at the cursor (the last row
// when the cursor has passed it) and puts the cursor back where it was.
bool ReadCell(MYSQL_RES* result, const std::string& name, std::string* text, bool* isNull) {
    if (result == nullptr) {
        return false;
    }
    const unsigned int columns = mysql_num_fields(result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    unsigned int column = 0;
    while (column < columns && !(fields[column].name_length == name.size() &&
                                 std::memcmp(fields[column].name, name.data(), name.size()) == 0)) {
        ++column;
    }
    const my_ulonglong rows = mysql_num_rows(result);
    if (column == columns || rows == 0) {
        return false;
    }
    const MYSQL_ROW_OFFSET cursor = mysql_row_tell(result);
    if (cursor == nullptr) {
        mysql_data_seek(result, rows - 1);
    }
    const MYSQL_ROW row = mysql_fetch_row(result);
    const unsigned long* lengths = mysql_fetch_lengths(result);
    *isNull = row[column] == nullptr;
    text->assign(*isNull ? "" : row[column], *isNull ? 0 : lengths[column]);
    mysql_row_seek(result, cursor);
    return true;
}

// atoi's reading, clamped to the 32-bit range instead of overflowing.
std::int32_t ReadLeadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        value = INT_MAX;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

DbHandle DbOpen(const std::string& host, const std::string& user, const std::string& password,
                const std::string& database, std::int32_t port) {
    MYSQL* mysql = mysql_init(nullptr);
    if (mysql == nullptr) {
        return nullptr;
    }
    // GBK from the handshake on: the library then escapes for GBK, and a connection it
    // re-opens by itself talks GBK again.
    mysql_options(mysql, MYSQL_SET_CHARSET_NAME, "gbk");
    const my_bool reconnect = 1;
    mysql_options(mysql, MYSQL_OPT_RECONNECT, &reconnect);
    // Bounded waits: a listener that never answers would otherwise freeze the window for ever.
    const unsigned int connectSeconds = 5;
    const unsigned int transferSeconds = 30;
    mysql_options(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &connectSeconds);
    mysql_options(mysql, MYSQL_OPT_READ_TIMEOUT, &transferSeconds);
    mysql_options(mysql, MYSQL_OPT_WRITE_TIMEOUT, &transferSeconds);
    if (mysql_real_connect(mysql, OrAbsent(host), OrAbsent(user), OrAbsent(password),
                           OrAbsent(database), static_cast<unsigned int>(port), nullptr,
                           0) == nullptr) {
        mysql_close(mysql);
        return nullptr;
    }
    Links().push_back(DbLink{mysql, false});
    return &Links().back();
}

void DbClose(DbHandle connection) {
    if (MYSQL* mysql = OpenClient(connection)) {
        mysql_close(mysql);
        connection->mysql = nullptr;
    }
}

bool DbExecute(DbHandle connection, const std::string& statement) {
    MYSQL* mysql = OpenClient(connection);
    if (mysql == nullptr) {
        return false;
    }
    connection->lastRefused = statement.empty();
    if (connection->lastRefused) {
        return false;
    }
    return mysql_real_query(mysql, statement.data(), statement.size()) == 0;
}

DbResultHandle DbStoreResult(DbHandle connection) {
    MYSQL* mysql = OpenClient(connection);
    if (mysql == nullptr || connection->lastRefused) {
        return nullptr;
    }
    return mysql_store_result(mysql);
}

void DbFreeResult(DbResultHandle result) {
    if (result != nullptr) {
        mysql_free_result(result);
    }
}

std::uint64_t DbRowCount(DbResultHandle result) {
    return result != nullptr ? mysql_num_rows(result) : 0;
}

bool DbFirstRow(DbResultHandle result) {
    if (result == nullptr) {
        return false;
    }
    mysql_data_seek(result, 0);
    return true;
}

bool DbNextRow(DbResultHandle result) {
    return result != nullptr && mysql_fetch_row(result) != nullptr;
}

bool DbReadText(DbResultHandle result, const std::string& name, std::string& value) {
    std::string text;
    bool isNull = false;
    if (!ReadCell(result, name, &text, &isNull)) {
        return false;
    }
    value = std::move(text);
    return true;
}

bool DbReadInt(DbResultHandle result, const std::string& name, std::int32_t& value) {
    std::string text;
    bool isNull = false;
    if (!ReadCell(result, name, &text, &isNull)) {
        return false;
    }
    value = isNull ? 0 : ReadLeadingInteger(text);
    return true;
}

std::int64_t DbAffectedRows(DbHandle connection) {
    MYSQL* mysql = OpenClient(connection);
    if (mysql == nullptr) {
        return 0;
    }
    if (connection->lastRefused) {
        return -1;
    }
    return static_cast<std::int64_t>(mysql_affected_rows(mysql));
}

std::int32_t QueryCount(const std::string& statement) {
    DbExecute(DbConnection, StmtSetNames());
    DbExecute(DbConnection, statement);
    RecordSet = DbStoreResult(DbConnection);
    DbFirstRow(RecordSet);
    const std::uint64_t rows = DbRowCount(RecordSet);
    std::int32_t result = 0;
    for (std::uint64_t i = 0; i < rows; ++i) {
        DbReadInt(RecordSet, "ceshi", result);
        DbNextRow(RecordSet);
    }
    DbFreeResult(RecordSet);
    return result;
}

bool DbAppendLiteralBody(DbHandle connection, const std::string& value, std::string& out) {
    MYSQL* mysql = OpenClient(connection);
    if (mysql == nullptr) {
        return false;
    }
    std::string escaped(value.size() * 2 + 1, '\0');
    const unsigned long length = mysql_real_escape_string(mysql, escaped.data(), value.data(),
                                                          static_cast<unsigned long>(value.size()));
    if (length == static_cast<unsigned long>(-1)) {
        return false;
    }
    out.append(escaped.data(), length);
    return true;
}
