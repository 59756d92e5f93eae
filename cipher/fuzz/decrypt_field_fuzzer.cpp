// DecryptField must take any stored text with any key without crashing or undefined
// behaviour. Input layout: byte 0 is the key length, the next bytes (as many as there are, up
// to that length) are the key, the rest is the stored text. The stored text is also read with
// both built-in keys, so seeds written with them reach the full walk and the CRC check.

#include <cstddef>
#include <cstdint>
#include <string>

#include "cipher/field_cipher.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char* text = reinterpret_cast<const char*>(data);
    const std::size_t keyLength = data[0] < size - 1 ? data[0] : size - 1;
    const std::string key(text + 1, keyLength);
    const std::string stored(text + 1 + keyLength, size - 1 - keyLength);

    // Only the absence of crashes is checked; the results are not.
    static_cast<void>(DecryptField(stored, key));
    static_cast<void>(DecryptField(stored, PasswordFieldKey));
    static_cast<void>(DecryptField(stored, RegInfoFieldKey));
    return 0;
}
