#pragma once
// The reversible protection of the password and registration-info columns.

#include <string>

// Key texts, GBK bytes: one per enciphered column. Changing either makes every stored field
// of its column unreadable.
extern const std::string PasswordFieldKey;
extern const std::string RegInfoFieldKey;

// The stored field text of a plain text: uppercase hexadecimal, 2 * (length + 10) characters.
std::string EncryptField(const std::string& plain, const std::string& key);
// The plain text again, or the empty text when the stored text does not check out.
std::string DecryptField(const std::string& stored, const std::string& key);
