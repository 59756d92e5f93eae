// The query primitives against the private test server.

#include <QTcpServer>
#include <string>

#include "db/db.h"
#include "db/statements.h"
#include "testsupport/test_server.h"

using testsupport::AdminSession;
using testsupport::OpenAsProgram;

namespace {

class ConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::ResetAccountDatabase(admin_);
        DbConnection = OpenAsProgram();
        ASSERT_NE(DbConnection, nullptr) << "the program's account cannot connect";
    }
    void TearDown() override {
        DbClose(DbConnection);
        DbConnection = nullptr;
    }

    // Runs a query on the program's connection and leaves its result in RecordSet.
    void Query(const std::string& statement) {
        ASSERT_TRUE(DbExecute(DbConnection, statement)) << statement;
        RecordSet = DbStoreResult(DbConnection);
        ASSERT_NE(RecordSet, nullptr) << statement;
        ASSERT_TRUE(DbFirstRow(RecordSet));
    }

    AdminSession admin_;
};

struct CountCase {
    const char* statement;
    std::int32_t expected;
};

TEST_F(ConnectionTest, QueryCountReadsColumnCeshiOfTheLastRow) {
    const CountCase cases[] = {
        {"select 5 as ceshi", 5},
        {"select 3 as ceshi union all select 7", 7},
        {"select 5 as ceshi from dual where 1=0", 0},
        {"select 5 as ceshi from no_such_table", 0},
        {"select 5 as total", 0},
        {"select 5 as CESHI", 0},
        {"select null as ceshi", 0},
        {"select '12abc' as ceshi", 12},
        {"select '  -42' as ceshi", -42},
        {"select 'abc' as ceshi", 0},
        {"select '99999999999' as ceshi", 2147483647},
        {"select count(*) as ceshi from u_name", 1},
    };
    for (const CountCase& c : cases) {
        EXPECT_EQ(QueryCount(c.statement), c.expected) << c.statement;
    }
}

TEST_F(ConnectionTest, QueryCountWithoutConnectionIsZero) {
    DbHandle open = DbConnection;
    DbConnection = nullptr;
    EXPECT_EQ(QueryCount("select 5 as ceshi"), 0);
    DbConnection = open;
}

TEST_F(ConnectionTest, ColumnsAreFoundByExactNameAndTheFirstEqualNameWins) {
    Query("select 1 as a, 2 as A, 3 as a");
    std::int32_t value = 99;
    EXPECT_TRUE(DbReadInt(RecordSet, "a", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(DbReadInt(RecordSet, "A", value));
    EXPECT_EQ(value, 2);
    value = 99;
    EXPECT_FALSE(DbReadInt(RecordSet, "b", value));
    EXPECT_EQ(value, 99);
    std::string text = "unchanged";
    EXPECT_FALSE(DbReadText(RecordSet, "", text));
    EXPECT_EQ(text, "unchanged");
    DbFreeResult(RecordSet);
}

TEST_F(ConnectionTest, NullReadsAsEmptyTextAndZero) {
    Query("select null as t, null as n");
    std::string text = "old";
    std::int32_t number = 7;
    EXPECT_TRUE(DbReadText(RecordSet, "t", text));
    EXPECT_TRUE(DbReadInt(RecordSet, "n", number));
    EXPECT_EQ(text, "");
    EXPECT_EQ(number, 0);
    DbFreeResult(RecordSet);
}

TEST_F(ConnectionTest, TextKeepsEveryByte) {
    Query("select concat('a', char(0), 'b', char(255)) as t");
    std::string text;
    ASSERT_TRUE(DbReadText(RecordSet, "t", text));
    EXPECT_EQ(text, std::string("a\0b\xff", 4));
    DbFreeResult(RecordSet);
}

TEST_F(ConnectionTest, ReadingNeverMovesTheCursorAndPastTheEndReadsTheLastRow) {
    Query("select 1 as v union all select 2 union all select 3");
    EXPECT_EQ(DbRowCount(RecordSet), 3u);
    std::int32_t first = 0, again = 0;
    DbReadInt(RecordSet, "v", first);
    DbReadInt(RecordSet, "v", again);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(again, 1);

    std::int32_t seen[3] = {};
    for (std::int32_t& value : seen) {
        DbReadInt(RecordSet, "v", value);
        EXPECT_TRUE(DbNextRow(RecordSet));
    }
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[1], 2);
    EXPECT_EQ(seen[2], 3);
    EXPECT_FALSE(DbNextRow(RecordSet));
    std::int32_t last = 0;
    EXPECT_TRUE(DbReadInt(RecordSet, "v", last));
    EXPECT_EQ(last, 3);

    EXPECT_TRUE(DbFirstRow(RecordSet));
    DbReadInt(RecordSet, "v", last);
    EXPECT_EQ(last, 1);
    DbFreeResult(RecordSet);
}

TEST_F(ConnectionTest, AnEmptyResultReadsNothing) {
    Query("select 1 as v from dual where 1=0");
    EXPECT_EQ(DbRowCount(RecordSet), 0u);
    std::int32_t value = 5;
    EXPECT_FALSE(DbReadInt(RecordSet, "v", value));
    EXPECT_EQ(value, 5);
    EXPECT_FALSE(DbNextRow(RecordSet));
    DbFreeResult(RecordSet);
}

TEST_F(ConnectionTest, AStatementWithoutResultStoresNone) {
    EXPECT_TRUE(DbExecute(DbConnection, StmtSetNames()));
    EXPECT_EQ(DbStoreResult(DbConnection), nullptr);
    EXPECT_FALSE(DbExecute(DbConnection, "select nonsense from nowhere"));
    EXPECT_EQ(DbStoreResult(DbConnection), nullptr);
}

TEST_F(ConnectionTest, AffectedRowsTellChangedRowsOnly) {
    ADMIN_RUN(admin_, "insert into ceshi1.r_info(r_user,r_type) values('admin','a')");
    const std::string id = admin_.Scalar("select max(r_id) from ceshi1.r_info");

    ASSERT_TRUE(DbExecute(DbConnection, "update r_info set r_type='b' where r_id=" + id));
    EXPECT_EQ(DbAffectedRows(DbConnection), 1);
    ASSERT_TRUE(DbExecute(DbConnection, "update r_info set r_type='b' where r_id=" + id));
    EXPECT_EQ(DbAffectedRows(DbConnection), 0) << "an unchanged row is not counted";
    EXPECT_FALSE(DbExecute(DbConnection, "update no_such_table set x=1"));
    EXPECT_EQ(DbAffectedRows(DbConnection), -1);
    ASSERT_TRUE(DbExecute(DbConnection, StmtSetNames()));
    EXPECT_EQ(DbAffectedRows(DbConnection), 0);
}

TEST_F(ConnectionTest, AnEmptyStatementIsRefusedAndCountsAsFailed) {
    ADMIN_RUN(admin_, "insert into ceshi1.r_info(r_user) values('admin')");
    const std::string id = admin_.Scalar("select max(r_id) from ceshi1.r_info");
    ASSERT_TRUE(DbExecute(DbConnection, StmtDeleteRecord(id)));
    ASSERT_EQ(DbAffectedRows(DbConnection), 1);

    // Without the refusal, the count of the deletion before would still be read.
    EXPECT_FALSE(DbExecute(DbConnection, ""));
    EXPECT_EQ(DbAffectedRows(DbConnection), -1);
    EXPECT_EQ(DbStoreResult(DbConnection), nullptr);
    EXPECT_TRUE(DbExecute(DbConnection, StmtSetNames()));
    EXPECT_EQ(DbAffectedRows(DbConnection), 0);
}

TEST_F(ConnectionTest, TheConversationIsGbkWithoutSetNames) {
    Query("select @@character_set_client as c, @@character_set_results as r");
    std::string client, results;
    DbReadText(RecordSet, "c", client);
    DbReadText(RecordSet, "r", results);
    EXPECT_EQ(client, "gbk");
    EXPECT_EQ(results, "gbk");
    DbFreeResult(RecordSet);
}

TEST_F(ConnectionTest, ADroppedConnectionIsReopenedInGbk) {
    const std::int32_t before = QueryCount("select connection_id() as ceshi");
    ASSERT_GT(before, 0);
    ADMIN_RUN(admin_, "kill connection " + std::to_string(before));

    QueryCount("select 1 as ceshi");  // the statement that notices the loss may fail
    EXPECT_EQ(QueryCount("select 7 as ceshi"), 7);
    const std::int32_t after = QueryCount("select connection_id() as ceshi");
    EXPECT_NE(after, before);

    Query("select @@character_set_client as c");
    std::string client;
    DbReadText(RecordSet, "c", client);
    EXPECT_EQ(client, "gbk");
    DbFreeResult(RecordSet);
}

TEST(NoConnection, HandleZeroAndAClosedHandleFailQuietly) {
    DbHandle closed = testsupport::OpenAsProgram();
    ASSERT_NE(closed, nullptr);
    DbClose(closed);
    DbClose(closed);  // closing again is harmless
    for (DbHandle handle : {DbHandle{nullptr}, closed}) {
        EXPECT_FALSE(DbExecute(handle, "select 1"));
        EXPECT_EQ(DbStoreResult(handle), nullptr);
        EXPECT_EQ(DbAffectedRows(handle), 0);
        std::string body;
        EXPECT_FALSE(DbAppendLiteralBody(handle, "x", body));
    }
    DbClose(nullptr);
}

TEST(NoConnection, ResultHandleZeroReadsNothing) {
    std::string text = "kept";
    std::int32_t number = 3;
    EXPECT_EQ(DbRowCount(nullptr), 0u);
    EXPECT_FALSE(DbFirstRow(nullptr));
    EXPECT_FALSE(DbNextRow(nullptr));
    EXPECT_FALSE(DbReadText(nullptr, "x", text));
    EXPECT_FALSE(DbReadInt(nullptr, "x", number));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(number, 3);
    DbFreeResult(nullptr);
}

TEST(Open, WrongCredentialsAndUnreachableServersGiveZero) {
    EXPECT_EQ(DbOpen("127.0.0.1", "kobrit", "wrong", "ceshi1", testsupport::ServerPort()), nullptr);
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const int unusedPort = probe.serverPort();
    probe.close();
    EXPECT_EQ(DbOpen("127.0.0.1", "kobrit", "kobrit", "ceshi1", unusedPort), nullptr);
}

TEST(Open, AListenerThatNeverAnswersIsGivenUp) {
    // The kernel completes the TCP handshake, but no greeting ever comes: without a connect
    // time-out this call would never return.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    EXPECT_EQ(DbOpen("127.0.0.1", "kobrit", "kobrit", "ceshi1", silent.serverPort()), nullptr);
}

}  // namespace
