#pragma once
// What the tests need of the private MariaDB server that scripts/test starts: its port and
// socket (from the environment, which only test code reads) and an administrator session for
// setting up and inspecting the database.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "db/db.h"
#include "testsupport/gbk.h"

struct st_mysql;

namespace testsupport {

// The server's TCP port and socket; a test fails (never skips) when they are missing.
int ServerPort();
std::string ServerSocket();

// The program's own connection settings aimed at the private server.
DbHandle OpenAsProgram(const std::string& database = "ceshi1");

// root over the socket, GBK, several statements per call allowed.
class AdminSession {
  public:
    AdminSession();
    ~AdminSession();
    AdminSession(const AdminSession&) = delete;
    AdminSession& operator=(const AdminSession&) = delete;

    // Runs the statements and discards their results; false with Error() set on failure.
    bool Run(const std::string& statements);
    // The first column of every row of one query; NULL reads as "NULL".
    std::vector<std::string> Column(const std::string& query);
    // The first column of the first row, or "" when there is none.
    std::string Scalar(const std::string& query);
    std::int64_t Count(const std::string& query) { return std::stoll("0" + Scalar(query)); }
    std::string Error() const;

  private:
    st_mysql* mysql_ = nullptr;
};

// Empties r_info and login_record and leaves u_name with the provisioned administrator alone.
void ResetAccountDatabase(AdminSession& admin);

// The schema file of the source tree.
std::string ReadSchemaFile();

}  // namespace testsupport

// Fails the test with the server's error text when a setup statement does not run.
#define ADMIN_RUN(admin, statements)     \
    ASSERT_TRUE((admin).Run(statements)) \
        << "setup statement failed: " << (statements) << "\n  server said: " << (admin).Error()
