// The administrator's sign-in against the private test server.

#include "signin/signin.h"

#include <string>

#include "db/db.h"
#include "testsupport/test_server.h"

using testsupport::AdminSession;

namespace {

const char* const kAdministratorDigest = "819d6033b3a642cf9226271456e268fe";

class SignInTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::ResetAccountDatabase(admin_);
        CurrentUserName.clear();
        CurrentUserPassword.clear();
    }
    void TearDown() override {
        DbClose(DbConnection);
        DbConnection = nullptr;
        admin_.Run("drop database if exists signin_scratch");
    }

    void Connect(const std::string& database = "ceshi1") {
        DbConnection = testsupport::OpenAsProgram(database);
        ASSERT_NE(DbConnection, nullptr);
    }

    // A database of its own holding only the named tables, copied from the schema's, with the
    // program's grants on them.
    void ConnectToScratchWith(const std::vector<std::string>& tables) {
        std::string setup = "create database signin_scratch character set gbk;";
        for (const std::string& table : tables) {
            setup += "create table signin_scratch." + table + " like ceshi1." + table + ";" +
                     "insert into signin_scratch." + table + " select * from ceshi1." + table +
                     ";grant select, insert on signin_scratch." + table +
                     " to 'kobrit'@'127.0.0.1';";
        }
        ADMIN_RUN(admin_, setup);
        Connect("signin_scratch");
    }

    std::int64_t Logins(const std::string& database = "ceshi1") {
        return admin_.Count("select count(*) from " + database + ".login_record");
    }

    AdminSession admin_;
};

TEST_F(SignInTest, TheSchemaCarriesTheDigestOfTheBuiltInPassword) {
    EXPECT_EQ(DigestPassword(testsupport::Gbk("样本908172"), "", ""), kAdministratorDigest);
    EXPECT_EQ(admin_.Column("select concat_ws(',',u_user,u_pass,u_sdic) from ceshi1.u_name"),
              std::vector<std::string>{std::string("admin,") + kAdministratorDigest + ",0"});
}

TEST_F(SignInTest, TheProvisionedAdministratorSignsInAndIsLoggedOnce) {
    Connect();
    EXPECT_TRUE(SignInAdministrator());
    EXPECT_EQ(CurrentUserName, "admin");
    EXPECT_EQ(CurrentUserPassword, testsupport::Gbk("样本908172"));
    EXPECT_EQ(CurrentUserPassword.size(), 10u);
    EXPECT_EQ(admin_.Column("select l_user from ceshi1.login_record where l_date between now() "
                            "- interval 1 minute and now()"),
              std::vector<std::string>{"admin"});
}

TEST_F(SignInTest, NoUsableRowMeansNoSignInAndNoLog) {
    const char* const breakages[] = {
        "update ceshi1.u_name set u_pass=upper(u_pass)",
        "update ceshi1.u_name set u_pass='00000000000000000000000000000000'",
        "update ceshi1.u_name set u_sdic=1",
        "update ceshi1.u_name set u_user='Admin'",
        "delete from ceshi1.u_name",
    };
    for (const char* breakage : breakages) {
        SCOPED_TRACE(breakage);
        testsupport::ResetAccountDatabase(admin_);
        ADMIN_RUN(admin_, breakage);
        Connect();
        EXPECT_FALSE(SignInAdministrator());
        EXPECT_EQ(CurrentUserName, "admin");
        EXPECT_EQ(Logins(), 0);
        DbClose(DbConnection);
        DbConnection = nullptr;
    }
}

TEST_F(SignInTest, TwoMatchingRowsSignIn) {
    ADMIN_RUN(admin_,
              std::string("insert into ceshi1.u_name(u_user,u_pass,u_sdic) values('admin','") +
                  kAdministratorDigest + "',0)");
    Connect();
    EXPECT_TRUE(SignInAdministrator());
    EXPECT_EQ(Logins(), 1);
}

TEST_F(SignInTest, AMissingUsersTableFails) {
    ConnectToScratchWith({"login_record"});
    EXPECT_FALSE(SignInAdministrator());
    EXPECT_EQ(Logins("signin_scratch"), 0);
}

TEST_F(SignInTest, AMissingLoginTableStillSignsIn) {
    ConnectToScratchWith({"u_name"});
    EXPECT_TRUE(SignInAdministrator());
}

TEST_F(SignInTest, WithoutAConnectionNobodySignsIn) {
    EXPECT_FALSE(SignInAdministrator());
    EXPECT_EQ(Logins(), 0);
}

TEST_F(SignInTest, LogSignInWritesTheGivenName) {
    Connect();
    LogSignIn("someone");
    EXPECT_EQ(admin_.Column("select l_user from ceshi1.login_record"),
              std::vector<std::string>{"someone"});
}

}  // namespace
