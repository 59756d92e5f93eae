// The field cipher.
//
// A stored field text is the uppercase hexadecimal form of n + 6 bytes, for a plain text of
// L bytes and n = L + 4:
//
//   bytes 1 .. n       the sealed block (plain bytes, then their CRC-32 least significant
//                      first) after the swap walk, XOR the mask byte
//   bytes n+1 .. n+2   the last digest index (16-bit, least significant first), XOR the mask
//   bytes n+3 .. n+5   the three salt bytes in the order drawn, XOR the mask
//   byte  n+6          the mask byte, in clear
//
// The swap walk is driven by the digest text: MD5, as uppercase hexadecimal, of the salt, the
// mask byte and the CRC-32 of the key text. Everything but the key travels with the field.

#include "cipher/field_cipher.h"

#include <cstdint>

#include "cipher/byte_string.h"

namespace {

constexpr std::uint32_t kRandomLow = 1;
constexpr std::uint32_t kRandomHigh = 255;
// Sizes of the fields after the sealed block: last digest index, salt, mask byte.
constexpr long long kIndexSize = 2;
constexpr long long kSaltSize = 3;

void Append(ByteString& to, const ByteString& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

ByteString CrcBytes(const ByteString& bytes) {
    return Int32ToBytes(static_cast<std::int32_t>(Crc32OfBytes(bytes)));
}

// MD5 text of salt, mask byte and key CRC, the same on both sides of the cipher.
std::string DigestText(const ByteString& salt, const ByteString& mask, const std::string& key) {
    ByteString input = salt;
    Append(input, mask);
    Append(input, CrcBytes(TextToBytes(key)));
    return Md5HexUpper(input);
}

// Character `position` (1-based) of a text as a text of its own; the empty text past either
// end.
std::string CharacterAt(const std::string& text, long long position) {
    if (position < 1 || position > static_cast<long long>(text.size())) return {};
    return std::string(1, text[static_cast<std::size_t>(position - 1)]);
}

// The swap position a digest character stands for: 3..18.
long long SwapPosition(const std::string& digest, long long position) {
    return static_cast<long long>(HexDigitValue(CharacterAt(digest, position))) + 3;
}

std::uint8_t RandomByte() {
    return static_cast<std::uint8_t>(RandomInRange(kRandomLow, kRandomHigh));
}

}  // namespace

std::string EncryptField(const std::string& plain, const std::string& key) {
    // Seal: the plain bytes followed by their CRC-32.
    ByteString block = TextToBytes(plain);
    Append(block, CrcBytes(block));
    const auto n = static_cast<long long>(block.size());

    // The mask byte is drawn first, then the salt.
    const ByteString mask{RandomByte()};
    ByteString salt;
    for (long long i = 0; i < kSaltSize; ++i) salt.push_back(RandomByte());

    const std::string digest = DigestText(salt, mask, key);
    const auto digestLength = static_cast<long long>(digest.size());

    // Walk the block from its last byte down to its first, taking the digest characters
    // 1, 2, ..., T, 1, 2, ... in turn; a character whose swap position lies beyond the block
    // swaps nothing.
    long long j = 1;
    for (long long i = 1; i <= n; ++i) {
        if (j > digestLength) j = 1;
        const long long k = SwapPosition(digest, j);
        ++j;
        if (k <= n) SwapBytes(block, n - i + 1, k);
    }
    const auto lastIndex = static_cast<std::int16_t>(j - 1);

    ByteString body = block;
    Append(body, Int16ToBytes(lastIndex));
    Append(body, salt);
    ByteString stored = XorWithFirstByte(body, mask);
    Append(stored, mask);
    return BytesToHex(stored);
}

std::string DecryptField(const std::string& stored, const std::string& key) {
    // Every slice below clips, so short or malformed input simply fails the final check.
    const ByteString raw = HexToBytes(stored);
    const auto rawLength = static_cast<long long>(raw.size());

    const ByteString mask = LastBytes(raw, 1);
    const ByteString body = XorWithFirstByte(FirstBytes(raw, rawLength - 1), mask);
    const auto bodyLength = static_cast<long long>(body.size());

    const ByteString salt = MidBytes(body, bodyLength - 2, kSaltSize);
    const std::string digest = DigestText(salt, mask, key);
    const auto digestLength = static_cast<long long>(digest.size());

    const long long lastIndex = BytesToInt16(MidBytes(body, bodyLength - 4, kIndexSize));
    ByteString block = FirstBytes(body, bodyLength - kIndexSize - kSaltSize);
    const auto n = static_cast<long long>(block.size());
    if (lastIndex > n) return {};

    // Undo the walk: from the first byte up, taking the digest characters from the last one
    // used back towards the first, and wrapping to the end of the digest text.
    long long step = 1;
    long long last = lastIndex;
    for (long long i = 1; i <= n; ++i) {
        if (step > digestLength) step = 1;
        if (last < step) {
            last = digestLength;
            step = 1;
        }
        const long long k = SwapPosition(digest, last - step + 1);
        ++step;
        if (k <= n) SwapBytes(block, i, k);
    }

    const std::int32_t storedCrc = BytesToInt32(LastBytes(block, 4));
    const ByteString plain = FirstBytes(block, n - 4);
    if (static_cast<std::uint32_t>(storedCrc) != Crc32OfBytes(plain)) return {};
    return BytesToText(plain);
}
