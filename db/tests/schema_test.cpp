// The schema file and the program's account on the real server.

#include <string>

#include "db/db.h"
#include "db/statements.h"
#include "testsupport/test_server.h"

using testsupport::AdminSession;

namespace {

class SchemaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::ResetAccountDatabase(admin_);
        program_ = testsupport::OpenAsProgram();
        ASSERT_NE(program_, nullptr);
    }
    void TearDown() override { DbClose(program_); }

    AdminSession admin_;
    DbHandle program_ = nullptr;
};

TEST_F(SchemaTest, TheProgramsAccountReadsButNeverWritesTheUsers) {
    EXPECT_TRUE(DbExecute(program_, "select count(*) from u_name"));
    DbFreeResult(DbStoreResult(program_));
    for (const char* write : {
             "insert into u_name(u_user,u_pass,u_sdic) values('x','0',0)",
             "update u_name set u_sdic=0",
             "delete from u_name",
             "truncate table u_name",
             "drop table u_name",
             "alter table u_name add column x int",
             "create table u_copy (x int)",
             "select * from mysql.user",
         }) {
        EXPECT_FALSE(DbExecute(program_, write)) << write;
    }
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.u_name"), 1);
}

TEST_F(SchemaTest, TheProgramsAccountWorksTheRecordsAndEmptiesBothTables) {
    ASSERT_TRUE(DbExecute(program_, "insert into r_info(r_user,r_type) values('admin','a')"));
    ASSERT_TRUE(DbExecute(program_, "update r_info set r_type='b'"));
    ASSERT_TRUE(DbExecute(program_, "select r_type from r_info"));
    DbFreeResult(DbStoreResult(program_));
    ASSERT_TRUE(DbExecute(program_, "delete from r_info"));
    ASSERT_TRUE(DbExecute(program_, "insert into login_record(l_user,l_date) values('a',now())"));
    EXPECT_FALSE(DbExecute(program_, "delete from login_record"));
    EXPECT_FALSE(DbExecute(program_, "select * from login_record"));

    ASSERT_TRUE(DbExecute(program_, "insert into r_info(r_user) values('admin')"));
    EXPECT_TRUE(DbExecute(program_, StmtTruncateRecords()));
    EXPECT_TRUE(DbExecute(program_, StmtTruncateLogins()));
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.r_info"), 0);
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.login_record"), 0);
}

TEST_F(SchemaTest, RunningTheSchemaAgainLosesNoRow) {
    ADMIN_RUN(admin_,
              "insert into ceshi1.r_info(r_user,r_type,r_date) values('admin','a','2020-01-01'),"
              "('admin','b','2020-01-02');"
              "insert into ceshi1.login_record(l_user,l_date) values('admin',now());"
              "insert into ceshi1.u_name(u_user,u_pass,u_sdic) values('other','x',1);");
    const std::string snapshot =
        "select concat((select group_concat(concat_ws(',',r_id,r_type,r_date)) from "
        "ceshi1.r_info),'|',(select group_concat(concat_ws(',',l_id,l_user,l_date)) from "
        "ceshi1.login_record),'|',(select group_concat(concat_ws(',',u_id,u_user,u_pass,u_sdic))"
        " from ceshi1.u_name))";
    const std::string before = admin_.Scalar(snapshot);

    ADMIN_RUN(admin_, testsupport::ReadSchemaFile());
    ADMIN_RUN(admin_, testsupport::ReadSchemaFile());
    EXPECT_EQ(admin_.Scalar(snapshot), before);
    EXPECT_TRUE(DbExecute(program_, "insert into r_info(r_user) values('admin')"))
        << "the account keeps its password and grants";
}

TEST_F(SchemaTest, EveryGbkCharacterIsStoredExactly) {
    // All two-byte GBK codes: lead 81..FE, trail 40..7E and 80..FE.
    std::string all;
    for (int lead = 0x81; lead <= 0xfe; ++lead) {
        for (int trail = 0x40; trail <= 0xfe; ++trail) {
            if (trail != 0x7f) {
                all += static_cast<char>(lead);
                all += static_cast<char>(trail);
            }
        }
    }
    std::string body;
    ASSERT_TRUE(DbAppendLiteralBody(program_, all, body));
    DbExecute(program_, StmtSetNames());
    const std::string insert = "insert into r_info(r_user,r_remar) values('admin','" + body + "')";
    ASSERT_TRUE(DbExecute(program_, insert));
    EXPECT_EQ(admin_.Scalar("select r_remar from ceshi1.r_info"), all);
}

}  // namespace
