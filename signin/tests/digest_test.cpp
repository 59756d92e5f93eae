// The stretched password digest.

#include <string>

#include "signin/signin.h"
#include "testsupport/test_server.h"

namespace {

// Known answers computed once by an independent script of the same chains (Python's hashlib):
// 8957 rounds of the password, 7536 of the first salt, 6527 of the second.
struct DigestCase {
    const char* name;
    std::string password, saltA, saltB;
    const char* digest;
};

TEST(DigestPassword, KnownAnswers) {
    const DigestCase cases[] = {
        {"built-in password", testsupport::Gbk("样本908172"), "", "",
         "819d6033b3a642cf9226271456e268fe"},
        {"empty password", "", "", "", "8fc37949ce5960340adc00fc581b7bc5"},
        {"salts of one blank", testsupport::Gbk("样本908172"), " ", " ",
         "4a4185957bdcaadbe96f0e0a6ffd8709"},
    };
    for (const DigestCase& c : cases) {
        EXPECT_EQ(DigestPassword(c.password, c.saltA, c.saltB), c.digest) << c.name;
    }
}

TEST(DigestPassword, EmptySaltsStandForTheBuiltInOnes) {
    const std::string password = "secret";
    const std::string builtIn = DigestPassword(password, "", "");
    EXPECT_EQ(DigestPassword(password, DigestSaltA, DigestSaltB), builtIn);
    EXPECT_EQ(DigestPassword(password, DigestSaltA, ""), builtIn);
    EXPECT_NE(DigestPassword(password, " ", ""), builtIn);
    EXPECT_NE(DigestPassword(password, "", " "), builtIn);
    EXPECT_NE(DigestPassword("secreT", "", ""), builtIn);
}

TEST(DigestPassword, IsAlwaysThirtyTwoLowercaseHexDigits) {
    for (const std::string password : {"", "a", "hunter2", "\xff\x01", "0123456789abcdef"}) {
        const std::string digest = DigestPassword(password, "", "");
        EXPECT_EQ(digest.size(), 32u);
        EXPECT_EQ(digest.find_first_not_of("0123456789abcdef"), std::string::npos) << digest;
    }
}

TEST(DigestPassword, LongSaltsAreUsedWhole) {
    const std::string longSalt(1000, 'x');
    EXPECT_NE(DigestPassword("p", longSalt, ""), DigestPassword("p", longSalt + "y", ""));
}

}  // namespace
