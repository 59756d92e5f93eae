#include "testsupport/test_server.h"

#include <mysql.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        ADD_FAILURE() << name
                      << " is not set: run the tests through scripts/test, which starts the "
                         "private database server they need";
        return {};
    }
    return value;
}

}  // namespace

int ServerPort() {
    const std::string port = Environment("ACCOUNTS_TEST_DB_PORT");
    return port.empty() ? 0 : std::atoi(port.c_str());
}

std::string ServerSocket() { return Environment("ACCOUNTS_TEST_DB_SOCKET"); }

DbHandle OpenAsProgram(const std::string& database) {
    return DbOpen("127.0.0.1", "kobrit", "kobrit", database, ServerPort());
}

AdminSession::AdminSession() : mysql_(mysql_init(nullptr)) {
    mysql_options(mysql_, MYSQL_SET_CHARSET_NAME, "gbk");
    const std::string socket = ServerSocket();
    if (mysql_real_connect(mysql_, "localhost", "root", "", nullptr, 0, socket.c_str(),
                           CLIENT_MULTI_STATEMENTS) == nullptr) {
        ADD_FAILURE() << "cannot reach the test server as root over " << socket << ": "
                      << mysql_error(mysql_);
    }
}

AdminSession::~AdminSession() { mysql_close(mysql_); }

bool AdminSession::Run(const std::string& statements) {
    if (mysql_real_query(mysql_, statements.data(), statements.size()) != 0) {
        return false;
    }
    int next = 0;
    do {
        if (MYSQL_RES* result = mysql_store_result(mysql_)) {
            mysql_free_result(result);
        }
    } while ((next = mysql_next_result(mysql_)) == 0);
    return next < 0;
}

std::vector<std::string> AdminSession::Column(const std::string& query) {
    std::vector<std::string> values;
    if (mysql_real_query(mysql_, query.data(), query.size()) != 0) {
        ADD_FAILURE() << "query failed: " << query << "\n  server said: " << Error();
        return values;
    }
    MYSQL_RES* result = mysql_store_result(mysql_);
    if (result == nullptr) {
        ADD_FAILURE() << "query gave no result: " << query;
        return values;
    }
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
        const unsigned long* lengths = mysql_fetch_lengths(result);
        values.push_back(row[0] == nullptr ? "NULL" : std::string(row[0], lengths[0]));
    }
    mysql_free_result(result);
    while (mysql_next_result(mysql_) == 0) {
    }
    return values;
}

std::string AdminSession::Scalar(const std::string& query) {
    const std::vector<std::string> values = Column(query);
    return values.empty() ? std::string() : values.front();
}

std::string AdminSession::Error() const { return mysql_error(mysql_); }

std::string ReadSchemaFile() {
    std::ifstream file(ACCOUNTS_SOURCE_DIR "/db/schema.sql", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    EXPECT_FALSE(text.str().empty()) << "db/schema.sql not found";
    return text.str();
}

void ResetAccountDatabase(AdminSession& admin) {
    ADMIN_RUN(admin,
              "truncate table ceshi1.r_info; truncate table ceshi1.login_record;"
              "delete from ceshi1.u_name;");
    ADMIN_RUN(admin, ReadSchemaFile());
}

}  // namespace testsupport
