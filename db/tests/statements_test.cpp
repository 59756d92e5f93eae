// The statement builders: their exact texts, and what the statements do on the real server.

#include "db/statements.h"

#include <set>
#include <string>
#include <vector>

#include "db/db.h"
#include "testsupport/test_server.h"

using testsupport::AdminSession;
using testsupport::Gbk;

namespace {

class StatementsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testsupport::ResetAccountDatabase(admin_);
        DbConnection = testsupport::OpenAsProgram();
        ASSERT_NE(DbConnection, nullptr);
    }
    void TearDown() override {
        DbClose(DbConnection);
        DbConnection = nullptr;
    }

    // Sends "set names gbk" and then the statement, as the writers do; the affected rows.
    std::int64_t Write(const std::string& statement) {
        DbExecute(DbConnection, StmtSetNames());
        DbExecute(DbConnection, statement);
        return DbAffectedRows(DbConnection);
    }

    std::int64_t Insert(const std::string& company, const std::string& server,
                        const std::string& date, const std::string& owner = "admin") {
        return Write(StmtInsertRecord(owner, company, server, "acc", "P", "T", date, "rem"));
    }

    // One column of every row a query gives, in the order the server returns them.
    std::vector<std::string> Read(const std::string& statement, const std::string& column) {
        DbExecute(DbConnection, StmtSetNames());
        DbExecute(DbConnection, statement);
        RecordSet = DbStoreResult(DbConnection);
        DbFirstRow(RecordSet);
        std::vector<std::string> values;
        for (std::uint64_t i = 0, n = DbRowCount(RecordSet); i < n; ++i) {
            std::string value;
            DbReadText(RecordSet, column, value);
            values.push_back(value);
            DbNextRow(RecordSet);
        }
        DbFreeResult(RecordSet);
        return values;
    }

    AdminSession admin_;
};

struct TextCase {
    const char* name;
    std::string built;
    std::string expected;
};

TEST_F(StatementsTest, EachBuilderGivesItsExactText) {
    const std::string list =
        "select r_type,r_type1,r_name,r_pass,r_trat,r_date,r_remar,r_id from r_info where "
        "r_user='";
    const TextCase cases[] = {
        {"set names", StmtSetNames(), "set names gbk"},
        {"count user", StmtCountUser("admin", "0123abcd"),
         "select count(u_id) as ceshi from u_name where u_user='admin' and u_pass='0123abcd' "
         "and u_sdic=0"},
        {"insert login", StmtInsertLogin("admin"),
         "INSERT INTO login_record(l_user,l_date)VALUE('admin',now())"},
        {"distinct companies", StmtDistinctCompanies("admin"),
         "select distinct r_type from r_info where r_user='admin'"},
        {"distinct servers", StmtDistinctServers("admin", "C"),
         "select distinct r_type1 from r_info where r_user='admin' and r_type='C'"},
        {"list all", StmtListAll("admin"), list + "admin' limit 0,100"},
        {"list by company", StmtListByCompany("admin", "C"),
         list + "admin' and r_type='C' limit 0,100"},
        {"list by company and server", StmtListByCompanyServer("admin", "C", "S"),
         list + "admin' and r_type='C' and r_type1='S' limit 0,100"},
        {"list by date range", StmtListByDateRange("admin", "2020-01-01", "2020-12-31"),
         list + "admin' and r_date between'2020-01-01' and '2020-12-31' limit 0,100"},
        {"insert record", StmtInsertRecord("u", "c", "s", "a", "P", "T", "2015-03-07", "r"),
         "INSERT INTO r_info(r_user,r_type,r_type1,r_name,r_pass,r_trat,r_date,r_remar)VALUE("
         "'u','c','s','a','P','T','2015-03-07','r')"},
        {"update record", StmtUpdateRecord("c", "s", "a", "P", "T", "2015-03-07", "r", "u", "42"),
         "UPDATE r_info SET r_type='c',r_type1='s',r_name='a',r_pass='P',r_trat='T',"
         "r_date='2015-03-07',r_remar='r' where r_user='u' and r_id=42"},
        {"delete record", StmtDeleteRecord("42"), "DELETE FROM r_info WHERE r_id=42"},
        {"truncate records", StmtTruncateRecords(), "truncate table r_info"},
        {"truncate logins", StmtTruncateLogins(), "truncate table login_record"},
        {"empty values", StmtListByCompanyServer("", "", ""),
         list + "' and r_type='' and r_type1='' limit 0,100"},
        {"quote escaped", StmtListByCompany("admin", "it's"),
         list + "admin' and r_type='it\\'s' limit 0,100"},
        {"chinese kept", StmtDistinctServers("admin", Gbk("腾讯")),
         "select distinct r_type1 from r_info where r_user='admin' and r_type='" + Gbk("腾讯") +
             "'"},
        {"id not decimal", StmtDeleteRecord("1 or 1=1"), ""},
        {"id empty", StmtUpdateRecord("c", "s", "a", "P", "T", "2015-03-07", "r", "u", ""), ""},
        {"id negative", StmtDeleteRecord("-1"), ""},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(c.built, c.expected) << c.name;
    }
    EXPECT_STREQ(ListColumns, "r_type,r_type1,r_name,r_pass,r_trat,r_date,r_remar,r_id");
}

TEST_F(StatementsTest, WithoutAConnectionValuesCannotBePlaced) {
    DbHandle open = DbConnection;
    DbConnection = nullptr;
    EXPECT_EQ(StmtListAll("admin"), "");
    EXPECT_EQ(StmtInsertLogin("admin"), "");
    EXPECT_EQ(StmtSetNames(), "set names gbk");
    DbConnection = open;
}

// Every hostile value goes through the real builders into every text column, and must come
// back byte for byte without touching any other row or changing the statement.
TEST_F(StatementsTest, HostileValuesAreStoredAsTypedAndNeverChangeTheStatement) {
    const std::string values[] = {
        "O'Brien",
        "a''b",
        "back\\slash",
        "ends with \\",
        "\\'",
        "\"double\"",
        std::string("nul\0byte", 8),
        "line\nbreak\r\nand tab\t",
        "\x1a",
        "x' or '1'='1",
        "x'); delete from r_info; --",
        "x' union select 1,2,3,4,5,6,7,8 from u_name where '1'='1",
        "\x95\x5c",            // GBK 昞: its second byte is the backslash byte
        "\x95\x5c'",           // ... followed by a quote
        "\x81\x5c\x95\x5c\\",  // trail-byte backslashes, then a real one
        Gbk("腾讯云服务器"),
        "%_*",
    };
    ASSERT_EQ(Insert("sentinel", "s", "2001-01-01"), 1);
    const std::string sentinelBefore = admin_.Scalar(
        "select concat_ws('|',r_id,r_type,r_type1,r_name,r_pass,r_trat,r_date,"
        "r_remar) from ceshi1.r_info where r_type='sentinel'");

    for (const std::string& value : values) {
        SCOPED_TRACE(testing::PrintToString(value));
        const std::int64_t before = admin_.Count("select count(*) from ceshi1.r_info");
        ASSERT_EQ(Write(StmtInsertRecord("admin", value, value, value, value, value, "2002-02-02",
                                         value)),
                  1);
        EXPECT_EQ(admin_.Count("select count(*) from ceshi1.r_info"), before + 1);

        const std::vector<std::string> ids =
            Read(StmtListByCompanyServer("admin", value, value), "r_id");
        ASSERT_EQ(ids.size(), 1u) << "the filter must find exactly the row just written";
        for (const char* column : {"r_type", "r_type1", "r_name", "r_pass", "r_trat", "r_remar"}) {
            EXPECT_EQ(Read(StmtListByCompany("admin", value), column),
                      std::vector<std::string>{value})
                << column;
        }
        EXPECT_EQ(Read(StmtDistinctServers("admin", value), "r_type1"),
                  std::vector<std::string>{value});

        ASSERT_EQ(Write(StmtUpdateRecord(value, value, "changed", value, value, "2003-03-03", value,
                                         "admin", ids[0])),
                  1);
        EXPECT_EQ(Read(StmtListByCompany("admin", value), "r_name"),
                  std::vector<std::string>{"changed"});

        DbExecute(DbConnection, StmtDeleteRecord(ids[0]));
        EXPECT_EQ(DbAffectedRows(DbConnection), 1);
        EXPECT_EQ(admin_.Count("select count(*) from ceshi1.r_info"), before);
    }
    EXPECT_EQ(admin_.Scalar("select concat_ws('|',r_id,r_type,r_type1,r_name,r_pass,r_trat,"
                            "r_date,r_remar) from ceshi1.r_info where r_type='sentinel'"),
              sentinelBefore);
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.u_name"), 1);
}

TEST_F(StatementsTest, InvalidGbkIsRejectedAndWritesNothing) {
    // 0xBF 0x27 is no GBK character: a client that does not escape for GBK would let the
    // quote byte close the literal.
    const std::string invalid = "\xbf' or 1=1 -- ";
    ASSERT_EQ(Insert("keep", "s", "2001-01-01"), 1);
    const std::string id = admin_.Scalar("select r_id from ceshi1.r_info");

    EXPECT_EQ(Write(StmtInsertRecord("admin", invalid, "s", "a", "P", "T", "2002-02-02", "r")), -1);
    EXPECT_EQ(Write(StmtUpdateRecord(invalid, "s", "a", "P", "T", "2002-02-02", "r", "admin", id)),
              -1);
    EXPECT_TRUE(Read(StmtListByCompany("admin", invalid), "r_id").empty());
    EXPECT_EQ(admin_.Column("select r_type from ceshi1.r_info"), std::vector<std::string>{"keep"});
}

TEST_F(StatementsTest, IdsThatAreNotPlainIntegersNeverReachTheServer) {
    ASSERT_EQ(Insert("keep", "s", "2001-01-01"), 1);
    for (const char* id : {"", "1 or 1=1", "0x1", " 1", "1;truncate table r_info", "-1"}) {
        EXPECT_EQ(Write(StmtDeleteRecord(id)), -1) << id;
        EXPECT_EQ(Write(StmtUpdateRecord("x", "s", "a", "P", "T", "2002-02-02", "r", "admin", id)),
                  -1)
            << id;
    }
    EXPECT_EQ(admin_.Column("select r_type from ceshi1.r_info"), std::vector<std::string>{"keep"});
}

TEST_F(StatementsTest, ListsStopAtOneHundredRows) {
    std::string rows;
    for (int i = 0; i < 150; ++i) {
        rows += std::string(i ? "," : "") + "('admin','C','S','2020-05-05')";
    }
    ADMIN_RUN(admin_, "insert into ceshi1.r_info(r_user,r_type,r_type1,r_date) values" + rows);
    EXPECT_EQ(Read(StmtListAll("admin"), "r_id").size(), 100u);
    EXPECT_EQ(Read(StmtListByCompany("admin", "C"), "r_id").size(), 100u);
    EXPECT_EQ(Read(StmtListByCompanyServer("admin", "C", "S"), "r_id").size(), 100u);
    EXPECT_EQ(Read(StmtListByDateRange("admin", "2020-01-01", "2020-12-31"), "r_id").size(), 100u);
}

TEST_F(StatementsTest, DateRangeIncludesBothEndsAndAnInvertedRangeIsEmpty) {
    for (const char* date :
         {"2020-03-09", "2020-03-10", "2020-03-15", "2020-03-20", "2020-03-21"}) {
        ASSERT_EQ(Insert("C", "S", date), 1);
    }
    ASSERT_EQ(Insert("C", "S", "2020-03-15", "someone else"), 1);
    EXPECT_EQ(Read(StmtListByDateRange("admin", "2020-03-10", "2020-03-20"), "r_date"),
              (std::vector<std::string>{"2020-03-10", "2020-03-15", "2020-03-20"}));
    EXPECT_EQ(Read(StmtListByDateRange("admin", "2020-03-15", "2020-03-15"), "r_date"),
              std::vector<std::string>{"2020-03-15"});
    EXPECT_TRUE(Read(StmtListByDateRange("admin", "2020-03-20", "2020-03-10"), "r_date").empty());
}

TEST_F(StatementsTest, DistinctCompaniesAndServersOfOneOwner) {
    const std::string tencent = Gbk("腾讯"), alibaba = Gbk("阿里巴巴"), shanghai = Gbk("上海一区");
    ASSERT_EQ(Insert(tencent, shanghai, "2020-01-01"), 1);
    ASSERT_EQ(Insert(tencent, shanghai, "2020-01-02"), 1);
    ASSERT_EQ(Insert(tencent, "S2", "2020-01-03"), 1);
    ASSERT_EQ(Insert(alibaba, "S3", "2020-01-04"), 1);
    ASSERT_EQ(Insert("Other", "S4", "2020-01-05", "someone else"), 1);

    const std::vector<std::string> companies = Read(StmtDistinctCompanies("admin"), "r_type");
    EXPECT_EQ(std::multiset<std::string>(companies.begin(), companies.end()),
              (std::multiset<std::string>{tencent, alibaba}));
    const std::vector<std::string> servers = Read(StmtDistinctServers("admin", tencent), "r_type1");
    EXPECT_EQ(std::multiset<std::string>(servers.begin(), servers.end()),
              (std::multiset<std::string>{shanghai, "S2"}));
    EXPECT_EQ(Read(StmtListByCompanyServer("admin", tencent, shanghai), "r_type1"),
              (std::vector<std::string>{shanghai, shanghai}));
}

TEST_F(StatementsTest, LetterCaseKeepsCompaniesApart) {
    ASSERT_EQ(Insert("QQ", "S", "2020-01-01"), 1);
    ASSERT_EQ(Insert("qq", "S", "2020-01-01"), 1);
    EXPECT_EQ(Read(StmtDistinctCompanies("admin"), "r_type").size(), 2u);
    EXPECT_EQ(Read(StmtListByCompany("admin", "qq"), "r_type"), std::vector<std::string>{"qq"});
}

TEST_F(StatementsTest, DeletionIgnoresTheOwnerAndUpdatesFilterOnIt) {
    ASSERT_EQ(Insert("C", "S", "2020-01-01", "someone else"), 1);
    const std::string id = admin_.Scalar("select r_id from ceshi1.r_info");
    EXPECT_EQ(Write(StmtUpdateRecord("x", "s", "a", "P", "T", "2020-01-01", "r", "admin", id)), 0);
    DbExecute(DbConnection, StmtDeleteRecord(id));
    EXPECT_EQ(DbAffectedRows(DbConnection), 1);
    DbExecute(DbConnection, StmtDeleteRecord(id));
    EXPECT_EQ(DbAffectedRows(DbConnection), 0);
}

TEST_F(StatementsTest, TruncationsEmptyOneTableEach) {
    ASSERT_EQ(Insert("C", "S", "2020-01-01"), 1);
    ASSERT_EQ(Write(StmtInsertLogin("admin")), 1);

    EXPECT_TRUE(DbExecute(DbConnection, StmtTruncateRecords()));
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.r_info"), 0);
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.login_record"), 1);

    ASSERT_EQ(Insert("C", "S", "2020-01-01"), 1);
    EXPECT_TRUE(DbExecute(DbConnection, StmtTruncateLogins()));
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.login_record"), 0);
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.r_info"), 1);
}

TEST_F(StatementsTest, LoginRowsTakeTheServersClock) {
    ASSERT_EQ(Write(StmtInsertLogin("admin")), 1);
    EXPECT_EQ(admin_.Count("select count(*) from ceshi1.login_record where l_user='admin' and "
                           "l_date between now() - interval 1 minute and now()"),
              1);
}

}  // namespace
