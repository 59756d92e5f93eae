#include "signin/signin.h"

#include <cstring>

#include "cipher/byte_string.h"
#include "db/db.h"
#include "db/statements.h"

std::string CurrentUserName;
std::string CurrentUserPassword;

const char* const DigestSaltA =
    "Tq8&Wm3vRz@Lp6^Hc1#Ns9kYe4%Bd7!Gx2$Fj5wKu0*Oa8&Vt3@Ri6^Mz1#Qb4%Xh9!Cl2$Sy7wDg5*En0&Pk8@Jv3^"
    "Zo6#Ia1%";
const char* const DigestSaltB =
    "Yb5!Kr2$Ph7wMs4%Dn9&Gt1*Lz6@Qc3^Vx8#Fj0!Wu5$Ae2%Io7&Ck4*Nm9@Sd1^Hr6#Tg3!Ey8$Bl0%Xv5&Jq2*Oz7@"
    "Ui4^Rk9";

namespace {

// 样本908172: the two characters in GBK, then the six digits.
const char* const kAdministratorPassword =
    "\xd1\xf9\xb1\xbe"
    "908172";

constexpr int kPasswordRounds = 8957;
constexpr int kFirstSaltRounds = 7536;
constexpr int kSecondSaltRounds = 6527;
constexpr std::size_t kHex = 32;

}  // namespace

std::string DigestPassword(const std::string& password, const std::string& saltA,
                           const std::string& saltB) {
    // Every chain value after its first round is 32 hexadecimal characters, so the later rounds
    // work in fixed buffers laid out as the texts they hash: [A P] and [B P A].
    char p[kHex];
    Md5HexUpperInto(password.data(), password.size(), p);
    for (int i = 1; i < kPasswordRounds; ++i) {
        char next[kHex];
        Md5HexUpperInto(p, kHex, next);
        std::memcpy(p, next, kHex);
    }

    char ap[2 * kHex];
    const std::string firstA =
        (saltA.empty() ? std::string(DigestSaltA) : saltA) + std::string(p, kHex);
    Md5HexUpperInto(firstA.data(), firstA.size(), ap);
    std::memcpy(ap + kHex, p, kHex);
    for (int i = 1; i < kFirstSaltRounds; ++i) {
        char next[kHex];
        Md5HexUpperInto(ap, sizeof ap, next);
        std::memcpy(ap, next, kHex);
    }

    char bpa[3 * kHex];
    const std::string firstB = (saltB.empty() ? std::string(DigestSaltB) : saltB) +
                               std::string(p, kHex) + std::string(ap, kHex);
    Md5HexUpperInto(firstB.data(), firstB.size(), bpa);
    std::memcpy(bpa + kHex, p, kHex);
    std::memcpy(bpa + 2 * kHex, ap, kHex);
    for (int i = 1; i < kSecondSaltRounds; ++i) {
        char next[kHex];
        Md5HexUpperInto(bpa, sizeof bpa, next);
        std::memcpy(bpa, next, kHex);
    }

    char apb[3 * kHex];
    std::memcpy(apb, ap, 2 * kHex);
    std::memcpy(apb + 2 * kHex, bpa, kHex);
    char result[kHex];
    Md5HexUpperInto(apb, sizeof apb, result);
    for (char& c : result) {
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return std::string(result, kHex);
}

bool SignInAdministrator() {
    CurrentUserName = "admin";
    CurrentUserPassword = kAdministratorPassword;
    const std::string digest = DigestPassword(CurrentUserPassword, "", "");
    if (QueryCount(StmtCountUser(CurrentUserName, digest)) == 0) {
        return false;
    }
    LogSignIn(CurrentUserName);
    return true;
}

void LogSignIn(const std::string& userName) {
    DbExecute(DbConnection, StmtSetNames());
    DbExecute(DbConnection, StmtInsertLogin(userName));
    DbAffectedRows(DbConnection);  // read and left alone: the log never decides the sign-in
}

void ReleaseSignInTexts() {
    std::string().swap(CurrentUserName);
    std::string().swap(CurrentUserPassword);
}
