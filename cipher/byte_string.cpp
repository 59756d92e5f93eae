#include "cipher/byte_string.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstring>
#include <memory>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define ACCOUNTS_HAVE_TSC 1
#elif (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#include <x86intrin.h>
#define ACCOUNTS_HAVE_TSC 1
#endif

namespace {

// Value of a hexadecimal digit by character code 0..102 ('f' is 102); every other code in
// that range is 0, and codes from 103 up are treated the same way by the caller.
constexpr std::size_t kHexValueCount = 103;

constexpr std::array<std::uint8_t, kHexValueCount> MakeHexValues() {
    std::array<std::uint8_t, kHexValueCount> values{};
    for (int c = 0; c < static_cast<int>(kHexValueCount); ++c) {
        const auto at = static_cast<std::size_t>(c);
        if (c >= '0' && c <= '9') {
            values[at] = static_cast<std::uint8_t>(c - '0');
        } else if (c >= 'A' && c <= 'F') {
            values[at] = static_cast<std::uint8_t>(c - 'A' + 10);
        } else if (c >= 'a' && c <= 'f') {
            values[at] = static_cast<std::uint8_t>(c - 'a' + 10);
        }
    }
    return values;
}

constexpr std::array<std::uint8_t, kHexValueCount> kHexValues = MakeHexValues();

inline std::uint8_t HexValue(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < kHexValueCount ? kHexValues[code] : 0;
}

// The two uppercase characters of every byte value, high nibble first.
using HexPair = std::array<char, 2>;

constexpr std::array<HexPair, 256> MakeHexPairs() {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::array<HexPair, 256> pairs{};
    for (std::size_t b = 0; b < 256; ++b) {
        pairs[b] = HexPair{kDigits[b >> 4], kDigits[b & 0x0F]};
    }
    return pairs;
}

constexpr std::array<HexPair, 256> kHexPairs = MakeHexPairs();

inline void WriteHex(const std::uint8_t* bytes, std::size_t size, char* out) {
    for (std::size_t i = 0; i < size; ++i) {
        const HexPair& pair = kHexPairs[bytes[i]];
        out[2 * i] = pair[0];
        out[2 * i + 1] = pair[1];
    }
}

// Clips a 1-based slice [position, position + count) to the byte string and returns it as a
// 0-based offset and length.
struct Span {
    std::size_t offset;
    std::size_t length;
};

Span ClipSlice(std::size_t size, long long position, long long count) {
    if (position < 1) position = 1;
    if (count < 0) count = 0;
    const auto start = static_cast<unsigned long long>(position - 1);
    if (start >= size) return {size, 0};
    const auto available = static_cast<unsigned long long>(size) - start;
    const auto length = std::min(static_cast<unsigned long long>(count), available);
    return {static_cast<std::size_t>(start), static_cast<std::size_t>(length)};
}

ByteString Slice(const ByteString& bytes, Span span) {
    const auto first = bytes.begin() + static_cast<std::ptrdiff_t>(span.offset);
    return ByteString(first, first + static_cast<std::ptrdiff_t>(span.length));
}

// Reads up to `width` bytes least significant first; missing high-order bytes are 0.
std::uint32_t ReadLittleEndian(const ByteString& bytes, std::size_t width) {
    const std::size_t count = std::min(bytes.size(), width);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return value;
}

struct EvpMdDeleter {
    void operator()(EVP_MD* md) const { EVP_MD_free(md); }
};

struct EvpMdCtxDeleter {
    void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
};

// MD5 fetched from the default provider once for the process; EVP_MD objects are shared
// read-only between threads.
const EVP_MD* Md5Algorithm() {
    static const std::unique_ptr<EVP_MD, EvpMdDeleter> md(EVP_MD_fetch(nullptr, "MD5", nullptr));
    return md.get();
}

// One digest context per thread, reset by every EVP_DigestInit_ex2.
EVP_MD_CTX* Md5Context() {
    thread_local const std::unique_ptr<EVP_MD_CTX, EvpMdCtxDeleter> ctx(EVP_MD_CTX_new());
    return ctx.get();
}

constexpr std::size_t kMd5Size = 16;

std::uint32_t ReadTimeStampCounter() {
#if defined(ACCOUNTS_HAVE_TSC)
    return static_cast<std::uint32_t>(__rdtsc());
#else
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

}  // namespace

ByteString TextToBytes(const std::string& text) { return ByteString(text.begin(), text.end()); }

std::string BytesToText(const ByteString& bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return std::string(bytes.begin(), end);
}

ByteString FirstBytes(const ByteString& bytes, long long count) {
    return Slice(bytes, ClipSlice(bytes.size(), 1, count));
}

ByteString LastBytes(const ByteString& bytes, long long count) {
    if (count < 0) count = 0;
    const auto size = static_cast<unsigned long long>(bytes.size());
    const auto length = std::min(static_cast<unsigned long long>(count), size);
    return Slice(bytes,
                 {static_cast<std::size_t>(size - length), static_cast<std::size_t>(length)});
}

ByteString MidBytes(const ByteString& bytes, long long position, long long count) {
    return Slice(bytes, ClipSlice(bytes.size(), position, count));
}

ByteString Int32ToBytes(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return ByteString{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                      static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

ByteString Int16ToBytes(std::int16_t value) {
    const auto bits = static_cast<std::uint16_t>(value);
    return ByteString{static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8)};
}

std::int32_t BytesToInt32(const ByteString& bytes) {
    return static_cast<std::int32_t>(ReadLittleEndian(bytes, 4));
}

std::int16_t BytesToInt16(const ByteString& bytes) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(ReadLittleEndian(bytes, 2)));
}

ByteString HexToBytes(const std::string& text) {
    const std::size_t count = text.size() / 2;
    ByteString bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] =
            static_cast<std::uint8_t>(16 * HexValue(text[2 * i]) + HexValue(text[2 * i + 1]));
    }
    return bytes;
}

std::string BytesToHex(const ByteString& bytes) {
    std::string text(2 * bytes.size(), '\0');
    WriteHex(bytes.data(), bytes.size(), text.data());
    return text;
}

std::uint32_t Crc32OfBytes(const ByteString& bytes) {
    // zlib takes the length as uInt; feed very long strings in pieces.
    uLong crc = 0;
    const Bytef* data = bytes.data();
    std::size_t remaining = bytes.size();
    while (remaining > 0) {
        const auto piece = static_cast<uInt>(std::min<std::size_t>(remaining, UINT_MAX));
        crc = crc32(crc, data, piece);
        data += piece;
        remaining -= piece;
    }
    return static_cast<std::uint32_t>(crc);
}

std::string Md5HexUpper(const ByteString& bytes) {
    std::string text(2 * kMd5Size, '\0');
    Md5HexUpperInto(bytes.data(), bytes.size(), text.data());
    return text;
}

void Md5HexUpperInto(const void* data, std::size_t size, char* out) {
    std::uint8_t digest[EVP_MAX_MD_SIZE];
    unsigned int digestSize = 0;
    const EVP_MD* md = Md5Algorithm();
    EVP_MD_CTX* ctx = Md5Context();
    const bool done = md != nullptr && ctx != nullptr &&
                      EVP_DigestInit_ex2(ctx, md, nullptr) == 1 &&
                      EVP_DigestUpdate(ctx, data, size) == 1 &&
                      EVP_DigestFinal_ex(ctx, digest, &digestSize) == 1 && digestSize == kMd5Size;
    if (!done) {
        // Only a crypto library without MD5 gets here; both cipher directions then see the
        // same all-zero digest text, so fields stay readable.
        std::memset(out, '0', 2 * kMd5Size);
        return;
    }
    WriteHex(digest, kMd5Size, out);
}

std::int32_t HexDigitValue(const std::string& text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i + 1 < text.size() && text[i] == '0' && text[i + 1] == 'x') i += 2;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        const bool digit =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!digit) break;
        value = value * 16 + HexValue(c);
    }
    auto low = static_cast<std::uint32_t>(value);
    if (negative) low = 0u - low;
    return static_cast<std::int32_t>(low);
}

void SwapBytes(ByteString& bytes, long long a, long long b) {
    const auto size = static_cast<long long>(bytes.size());
    if (a < 1 || b < 1 || a > size || b > size) return;  // not a position of the string
    std::swap(bytes[static_cast<std::size_t>(a - 1)], bytes[static_cast<std::size_t>(b - 1)]);
}

ByteString XorWithFirstByte(const ByteString& data, const ByteString& mask) {
    if (data.empty()) return {};
    const std::uint8_t m = mask.empty() ? 0 : mask.front();
    ByteString result(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        result[i] = static_cast<std::uint8_t>(data[i] ^ m);
    }
    return result;
}

std::uint32_t RandomInRange(std::uint32_t low, std::uint32_t high) {
    const std::uint32_t t = ReadTimeStampCounter();
    const std::uint32_t x = t * 23u + 7u;
    const std::uint32_t span = high - low + 1u;
    // span 0 means the whole 32-bit range, where x mod 2^32 is x itself.
    return low + (span == 0 ? x : x % span);
}
