#pragma once
// The exact text of every statement the system sends. Each builder joins its fixed pieces and
// its values in order. A value is spliced as the escaped body of an SQL string literal, so it
// is stored exactly as given and never changes the statement; a record id must be a plain
// decimal integer. A builder gives the empty text, which DbExecute refuses, when a value
// cannot be placed safely: a record id that is not a plain decimal integer, or no open
// DbConnection to escape for.

#include <string>

// The columns of the four list statements, in list column order.
extern const char* const ListColumns;

std::string StmtSetNames();
std::string StmtCountUser(const std::string& userName, const std::string& passwordDigest);
std::string StmtInsertLogin(const std::string& userName);
std::string StmtDistinctCompanies(const std::string& owner);
std::string StmtDistinctServers(const std::string& owner, const std::string& company);
std::string StmtListAll(const std::string& owner);
std::string StmtListByCompany(const std::string& owner, const std::string& company);
std::string StmtListByCompanyServer(const std::string& owner, const std::string& company,
                                    const std::string& server);
std::string StmtListByDateRange(const std::string& owner, const std::string& startDate,
                                const std::string& endDate);
std::string StmtInsertRecord(const std::string& owner, const std::string& company,
                             const std::string& server, const std::string& account,
                             const std::string& encipheredPassword,
                             const std::string& encipheredRegInfo,
                             const std::string& registrationDate, const std::string& remark);
std::string StmtUpdateRecord(const std::string& company, const std::string& server,
                             const std::string& account, const std::string& encipheredPassword,
                             const std::string& encipheredRegInfo,
                             const std::string& registrationDate, const std::string& remark,
                             const std::string& owner, const std::string& recordId);
std::string StmtDeleteRecord(const std::string& recordId);
std::string StmtTruncateRecords();
std::string StmtTruncateLogins();
