#pragma once
// The built-in administrator's sign-in: a stretched MD5 digest of the built-in password is
// looked up in u_name, and a successful sign-in is logged in login_record.

#include <string>

// The signed-in user ("admin" after the sign-in) and the built-in password, GBK.
extern std::string CurrentUserName;
extern std::string CurrentUserPassword;

// The salts used when a caller passes an empty one.
extern const char* const DigestSaltA;
extern const char* const DigestSaltB;

// 32 lowercase hexadecimal characters: 23,021 chained MD5 computations over the password and
// two salts. An empty salt stands for the built-in one.
std::string DigestPassword(const std::string& password, const std::string& saltA,
                           const std::string& saltB);

// Signs the built-in administrator in on DbConnection; true when u_name holds a usable row
// with the password's digest. Sets CurrentUserName and CurrentUserPassword either way.
bool SignInAdministrator();

// Writes one login_record row for the user; failures are not reported.
void LogSignIn(const std::string& userName);

// Releases CurrentUserName and CurrentUserPassword at the end of the process.
void ReleaseSignInTexts();
