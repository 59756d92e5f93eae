#pragma once
// The one connection to the account database and the primitives every reader and writer
// uses: run a statement, take its whole result, walk the rows and read columns by name, and
// the affected-row count of the last statement.
//
// Nothing here shows a message or throws: failures come back as 0, false, the empty text or an
// affected-row count of -1, and the callers decide what the user hears.

#include <cstdint>
#include <string>

struct DbLink;        // a client connection and what the layer remembers about its last statement
struct st_mysql_res;  // the client library's buffered result set

using DbHandle = DbLink*;
using DbResultHandle = st_mysql_res*;

// The process-wide connection (0 when there is none) and the current result set. DbClose does
// not reset DbConnection; a closed handle behaves as no connection at all.
extern DbHandle DbConnection;
extern DbResultHandle RecordSet;

// Connects over TCP to host:port. Empty texts and port 0 mean the library's defaults. The
// conversation is GBK from the handshake on, the library reconnects a dropped connection by
// itself, a server that never answers is given up after 5 s at connect and 30 s per read or
// write. Returns 0 on failure.
DbHandle DbOpen(const std::string& host, const std::string& user, const std::string& password,
                const std::string& database, std::int32_t port);
// Closes the connection. Handle 0 and an already closed handle are ignored.
void DbClose(DbHandle connection);

// Runs one statement; true when the server ran it. The empty statement is refused without
// reaching the server and then counts as a failed statement.
bool DbExecute(DbHandle connection, const std::string& statement);
// The whole result of the last statement, or 0 when it produced none.
DbResultHandle DbStoreResult(DbHandle connection);
void DbFreeResult(DbResultHandle result);

std::uint64_t DbRowCount(DbResultHandle result);
bool DbFirstRow(DbResultHandle result);
// Moves the cursor one row on; true when it stood on a row before the move.
bool DbNextRow(DbResultHandle result);

// Read the column called `name` (byte for byte, case-sensitive; the first equal name wins) of
// the row at the cursor, or of the last row once the cursor has passed it. The cursor does not
// move. False, with the variable unchanged, when there is no such column or no row. SQL NULL
// reads as the empty text and as 0; numbers are read the way atoi reads them.
bool DbReadText(DbResultHandle result, const std::string& name, std::string& value);
bool DbReadInt(DbResultHandle result, const std::string& name, std::int32_t& value);

// Rows changed by the last statement; -1 after a failed one, 0 for no connection.
std::int64_t DbAffectedRows(DbHandle connection);

// Runs a counting statement on DbConnection and returns its column `ceshi` of the last row,
// or 0 when the statement fails, yields no row or has no such column.
std::int32_t QueryCount(const std::string& statement);

// Appends to `out` the body of an SQL string literal that holds `value` exactly, escaped for the
// connection's character set. False, with `out` unchanged, when there is no open connection.
bool DbAppendLiteralBody(DbHandle connection, const std::string& value, std::string& out);
