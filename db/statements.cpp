#include "db/statements.h"

#include "db/db.h"

const char* const ListColumns = "r_type,r_type1,r_name,r_pass,r_trat,r_date,r_remar,r_id";

namespace {

const char* const kListBeginning =
    "select r_type,r_type1,r_name,r_pass,r_trat,r_date,r_remar,r_id from r_info where r_user='";

// Joins fixed pieces and values; once a value cannot be placed, the whole text is empty.
class StatementText {
  public:
    explicit StatementText(const char* beginning) : text_(beginning) {}

    StatementText& Piece(const char* fixed) {
        text_ += fixed;
        return *this;
    }
    StatementText& Value(const std::string& value) {
        placed_ = placed_ && DbAppendLiteralBody(DbConnection, value, text_);
        return *this;
    }
    StatementText& RecordId(const std::string& id) {
        placed_ = placed_ && IsPlainDecimal(id);
        text_ += id;
        return *this;
    }
    std::string Text() const { return placed_ ? text_ : std::string(); }

  private:
    static bool IsPlainDecimal(const std::string& id) {
        if (id.empty()) {
            return false;
        }
        for (const char c : id) {
            if (c < '0' || c > '9') {
                return false;
            }
        }
        return true;
    }

    std::string text_;
    bool placed_ = true;
};

}  // namespace

std::string StmtSetNames() { return "set names gbk"; }

std::string StmtCountUser(const std::string& userName, const std::string& passwordDigest) {
    return StatementText("select count(u_id) as ceshi from u_name where u_user='")
        .Value(userName)
        .Piece("' and u_pass='")
        .Value(passwordDigest)
        .Piece("' and u_sdic=0")
        .Text();
}

std::string StmtInsertLogin(const std::string& userName) {
    return StatementText("INSERT INTO login_record(l_user,l_date)VALUE('")
        .Value(userName)
        .Piece("',now())")
        .Text();
}

std::string StmtDistinctCompanies(const std::string& owner) {
    return StatementText("select distinct r_type from r_info where r_user='")
        .Value(owner)
        .Piece("'")
        .Text();
}

std::string StmtDistinctServers(const std::string& owner, const std::string& company) {
    return StatementText("select distinct r_type1 from r_info where r_user='")
        .Value(owner)
        .Piece("' and r_type='")
        .Value(company)
        .Piece("'")
        .Text();
}

std::string StmtListAll(const std::string& owner) {
    return StatementText(kListBeginning).Value(owner).Piece("' limit 0,100").Text();
}

std::string StmtListByCompany(const std::string& owner, const std::string& company) {
    return StatementText(kListBeginning)
        .Value(owner)
        .Piece("' and r_type='")
        .Value(company)
        .Piece("' limit 0,100")
        .Text();
}

std::string StmtListByCompanyServer(const std::string& owner, const std::string& company,
                                    const std::string& server) {
    return StatementText(kListBeginning)
        .Value(owner)
        .Piece("' and r_type='")
        .Value(company)
        .Piece("' and r_type1='")
        .Value(server)
        .Piece("' limit 0,100")
        .Text();
}

std::string StmtListByDateRange(const std::string& owner, const std::string& startDate,
                                const std::string& endDate) {
    return StatementText(kListBeginning)
        .Value(owner)
        .Piece("' and r_date between'")
        .Value(startDate)
        .Piece("' and '")
        .Value(endDate)
        .Piece("' limit 0,100")
        .Text();
}

std::string StmtInsertRecord(const std::string& owner, const std::string& company,
                             const std::string& server, const std::string& account,
                             const std::string& encipheredPassword,
                             const std::string& encipheredRegInfo,
                             const std::string& registrationDate, const std::string& remark) {
    return StatementText(
               "INSERT INTO "
               "r_info(r_user,r_type,r_type1,r_name,r_pass,r_trat,r_date,r_remar)VALUE('")
        .Value(owner)
        .Piece("','")
        .Value(company)
        .Piece("','")
        .Value(server)
        .Piece("','")
        .Value(account)
        .Piece("','")
        .Value(encipheredPassword)
        .Piece("','")
        .Value(encipheredRegInfo)
        .Piece("','")
        .Value(registrationDate)
        .Piece("','")
        .Value(remark)
        .Piece("')")
        .Text();
}

std::string StmtUpdateRecord(const std::string& company, const std::string& server,
                             const std::string& account, const std::string& encipheredPassword,
                             const std::string& encipheredRegInfo,
                             const std::string& registrationDate, const std::string& remark,
                             const std::string& owner, const std::string& recordId) {
    return StatementText("UPDATE r_info SET r_type='")
        .Value(company)
        .Piece("',r_type1='")
        .Value(server)
        .Piece("',r_name='")
        .Value(account)
        .Piece("',r_pass='")
        .Value(encipheredPassword)
        .Piece("',r_trat='")
        .Value(encipheredRegInfo)
        .Piece("',r_date='")
        .Value(registrationDate)
        .Piece("',r_remar='")
        .Value(remark)
        .Piece("' where r_user='")
        .Value(owner)
        .Piece("' and r_id=")
        .RecordId(recordId)
        .Text();
}

std::string StmtDeleteRecord(const std::string& recordId) {
    return StatementText("DELETE FROM r_info WHERE r_id=").RecordId(recordId).Text();
}

std::string StmtTruncateRecords() { return "truncate table r_info"; }

std::string StmtTruncateLogins() { return "truncate table login_record"; }
