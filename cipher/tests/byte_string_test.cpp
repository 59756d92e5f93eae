#include "cipher/byte_string.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>
#include <string>

namespace {

ByteString Bytes(std::initializer_list<int> values) {
    ByteString bytes;
    for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

ByteString AllByteValues() {
    ByteString bytes(256);
    for (int i = 0; i < 256; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return bytes;
}

bool IsUpperHex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

// ---------------------------------------------------------------------------------------------
// Digests

// The test suite of RFC 1321, section A.5, written in uppercase.
struct Md5Case {
    const char* message;
    const char* digest;
};
const Md5Case kRfc1321Suite[] = {
    {"", "D41D8CD98F00B204E9800998ECF8427E"},
    {"a", "0CC175B9C0F1B6A831C399E269772661"},
    {"abc", "900150983CD24FB0D6963F7D28E17F72"},
    {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
    {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
     "D174AB98D277D9F5A5611C2C9F419D9F"},
    {"1234567890123456789012345678901234567890"
     "1234567890123456789012345678901234567890",
     "57EDF4A22BE3C955AC49DA2E2107B67A"},
};

TEST(Md5HexUpper, MatchesRfc1321Suite) {
    for (const Md5Case& c : kRfc1321Suite) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(Md5HexUpper(TextToBytes(c.message)), c.digest);
    }
}

TEST(Md5HexUpper, IntoWritesTheSameThirtyTwoCharacters) {
    // Twice round the suite, so that the reused digest context is reset between messages.
    for (int round = 0; round < 2; ++round) {
        for (const Md5Case& c : kRfc1321Suite) {
            SCOPED_TRACE(c.message);
            const ByteString bytes = TextToBytes(c.message);
            char out[33];
            out[32] = '#';
            Md5HexUpperInto(bytes.data(), bytes.size(), out);
            EXPECT_EQ(out[32], '#') << "wrote past 32 characters";
            EXPECT_EQ(std::string(out, 32), Md5HexUpper(bytes));
        }
    }
}

TEST(Crc32OfBytes, GivesTheStandardCrc) {
    const struct {
        const char* text;
        std::uint32_t crc;
    } cases[] = {
        {"", 0x00000000u},
        {"abc", 0x352441C2u},
        {"123456789", 0xCBF43926u},
        {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Crc32OfBytes(TextToBytes(c.text)), c.crc);
    }
    EXPECT_EQ(Int32ToBytes(static_cast<std::int32_t>(Crc32OfBytes(TextToBytes("abc")))),
              Bytes({0xC2, 0x41, 0x24, 0x35}));
}

// ---------------------------------------------------------------------------------------------
// Hexadecimal

TEST(HexToBytes, DecodesPairsAndDropsTheOddCharacter) {
    const struct {
        std::string text;
        ByteString bytes;
    } cases[] = {
        {"", {}},
        {"7", {}},
        {"ABC", Bytes({0xAB})},
        {"4a6B", Bytes({0x4A, 0x6B})},
        {"4A6B", Bytes({0x4A, 0x6B})},
        {"00ff7F", Bytes({0x00, 0xFF, 0x7F})},
        // Characters that are not hexadecimal digits count as 0, below code 103 ...
        {"G1", Bytes({0x01})},
        {"1 ", Bytes({0x10})},
        {"fg", Bytes({0xF0})},  // 'f' is code 102, the last of the table; 'g' is 103
        // ... and from 103 up, including bytes above 0x7F.
        {"z1", Bytes({0x01})},
        {"\xC8\x31", Bytes({0x01})},
        {"1\xFF", Bytes({0x10})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_EQ(HexToBytes(c.text), c.bytes);
    }
}

TEST(BytesToHex, WritesUppercasePairsHighNibbleFirst) {
    EXPECT_EQ(BytesToHex({}), "");
    EXPECT_EQ(BytesToHex(TextToBytes("abc")), "616263");
    EXPECT_EQ(BytesToHex(Bytes({0x00, 0x0F, 0xF0, 0xAB, 0xFF})), "000FF0ABFF");

    const std::string all = BytesToHex(AllByteValues());
    ASSERT_EQ(all.size(), 512u);
    EXPECT_TRUE(IsUpperHex(all)) << all;
    EXPECT_EQ(HexToBytes(all), AllByteValues());
}

TEST(BytesToHex, OfDecodedHexIsTheUppercaseText) {
    const struct {
        const char* text;
        const char* upper;
    } cases[] = {
        {"", ""},
        {"0123456789abcdef", "0123456789ABCDEF"},
        {"aBcDeF", "ABCDEF"},
        {"fedcba9876543210FEDCBA", "FEDCBA9876543210FEDCBA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BytesToHex(HexToBytes(c.text)), c.upper);
    }
}

TEST(HexDigitValue, ReadsSignPrefixAndDigits) {
    const struct {
        std::string text;
        std::int32_t value;
    } cases[] = {
        {"F", 15},
        {"f", 15},
        {"9", 9},
        {"G", 0},
        {"-", 0},
        {"", 0},
        {"0x1F", 31},
        {"-a", -10},
        {"+10", 16},
        {"0X1", 0},  // only a lowercase x makes a prefix
        {"0x", 0},
        {"-0x10", -16},
        {"12G4", 0x12},  // stops at the first non-digit
        {" 1", 0},
        {"+-1", 0},
        {"FFFFFFFF", -1},          // the low 32 bits, as a signed value
        {"100000001", 1},          // accumulated in 64 bits, then cut to 32
        {"-80000000", INT32_MIN},  // negating the lowest value keeps it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        EXPECT_EQ(HexDigitValue(c.text), c.value);
    }
}

TEST(HexDigitValue, OfEverySingleCharacter) {
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        std::int32_t expected = 0;
        if (c >= '0' && c <= '9') expected = c - '0';
        if (c >= 'A' && c <= 'F') expected = c - 'A' + 10;
        if (c >= 'a' && c <= 'f') expected = c - 'a' + 10;
        EXPECT_EQ(HexDigitValue(std::string(1, c)), expected) << "code " << code;
    }
}

// ---------------------------------------------------------------------------------------------
// Texts, slices and integers

TEST(ByteStringText, KeepsEveryByteAndEndsTextAtTheFirstZero) {
    EXPECT_EQ(TextToBytes(std::string("a\0b", 3)), Bytes({'a', 0, 'b'}));
    EXPECT_EQ(TextToBytes(""), ByteString{});

    const struct {
        ByteString bytes;
        std::string text;
    } cases[] = {
        {{}, ""},
        {Bytes({'a', 'b', 'c'}), "abc"},
        {Bytes({'a', 'b', 0, 'c'}), "ab"},
        {Bytes({0, 'a'}), ""},
        {Bytes({0xD6, 0xD0, 0xCE, 0xC4}), "\xD6\xD0\xCE\xC4"},
    };
    for (const auto& c : cases) EXPECT_EQ(BytesToText(c.bytes), c.text) << BytesToHex(c.bytes);
}

TEST(Slices, ClipInsteadOfFailing) {
    const ByteString five = Bytes({1, 2, 3, 4, 5});
    enum Kind { kFirst, kLast, kMid };
    const struct {
        Kind kind;
        long long position;
        long long count;
        ByteString expected;
    } cases[] = {
        {kFirst, 0, 2, Bytes({1, 2})},
        {kFirst, 0, 0, {}},
        {kFirst, 0, -1, {}},
        {kFirst, 0, 9, five},
        {kLast, 0, 2, Bytes({4, 5})},
        {kLast, 0, -3, {}},
        {kLast, 0, 9, five},
        {kLast, 0, LLONG_MAX, five},
        {kMid, 2, 3, Bytes({2, 3, 4})},
        {kMid, 5, 1, Bytes({5})},
        {kMid, 4, 9, Bytes({4, 5})},
        {kMid, 2, LLONG_MAX, Bytes({2, 3, 4, 5})},
        {kMid, 0, 2, Bytes({1, 2})},  // a position below 1 counts as 1
        {kMid, -5, 2, Bytes({1, 2})},
        {kMid, 3, -1, {}},
        {kMid, 6, 1, {}},  // starts beyond the end
        {kMid, LLONG_MAX, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << c.kind << " position " << c.position << " count " << c.count);
        switch (c.kind) {
            case kFirst:
                EXPECT_EQ(FirstBytes(five, c.count), c.expected);
                break;
            case kLast:
                EXPECT_EQ(LastBytes(five, c.count), c.expected);
                break;
            case kMid:
                EXPECT_EQ(MidBytes(five, c.position, c.count), c.expected);
                break;
        }
    }
    EXPECT_EQ(FirstBytes({}, 3), ByteString{});
    EXPECT_EQ(LastBytes({}, 3), ByteString{});
    EXPECT_EQ(MidBytes({}, 1, 3), ByteString{});
}

TEST(LittleEndian, Int32RoundTrips) {
    const struct {
        std::int32_t value;
        ByteString bytes;
    } cases[] = {
        {0, Bytes({0, 0, 0, 0})},
        {1, Bytes({1, 0, 0, 0})},
        {0x12345678, Bytes({0x78, 0x56, 0x34, 0x12})},
        {-1, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {INT32_MIN, Bytes({0, 0, 0, 0x80})},
        {INT32_MAX, Bytes({0xFF, 0xFF, 0xFF, 0x7F})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Int32ToBytes(c.value), c.bytes);
        EXPECT_EQ(BytesToInt32(c.bytes), c.value);
    }
}

TEST(LittleEndian, Int16RoundTrips) {
    const struct {
        std::int16_t value;
        ByteString bytes;
    } cases[] = {
        {0, Bytes({0, 0})},
        {4, Bytes({4, 0})},
        {0x1234, Bytes({0x34, 0x12})},
        {-1, Bytes({0xFF, 0xFF})},
        {INT16_MIN, Bytes({0, 0x80})},
        {INT16_MAX, Bytes({0xFF, 0x7F})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Int16ToBytes(c.value), c.bytes);
        EXPECT_EQ(BytesToInt16(c.bytes), c.value);
    }
}

TEST(LittleEndian, ShortInputPadsHighBytesWithZero) {
    EXPECT_EQ(BytesToInt32({}), 0);
    EXPECT_EQ(BytesToInt32(Bytes({0xFF})), 0xFF);
    EXPECT_EQ(BytesToInt32(Bytes({0xFF, 0xFF})), 0xFFFF);
    EXPECT_EQ(BytesToInt32(Bytes({0x01, 0x02, 0x83})), 0x830201);
    EXPECT_EQ(BytesToInt16({}), 0);
    EXPECT_EQ(BytesToInt16(Bytes({0xFF})), 0xFF);
    EXPECT_EQ(BytesToInt16(Bytes({0x00, 0x80})), INT16_MIN);
}

// ---------------------------------------------------------------------------------------------
// Swap, mask and random bytes

TEST(SwapBytes, ExchangesTwoPositions) {
    const ByteString original = Bytes({1, 2, 3, 4});
    ByteString bytes = original;
    SwapBytes(bytes, 1, 4);
    EXPECT_EQ(bytes, Bytes({4, 2, 3, 1}));
    SwapBytes(bytes, 4, 1);
    EXPECT_EQ(bytes, original);
    for (long long p = 1; p <= 4; ++p) {
        SwapBytes(bytes, p, p);
        EXPECT_EQ(bytes, original) << "position " << p;
    }
}

TEST(XorWithFirstByte, MasksEveryByteWithTheFirstMaskByte) {
    EXPECT_EQ(XorWithFirstByte({}, {}), ByteString{});
    EXPECT_EQ(XorWithFirstByte({}, Bytes({0x55})), ByteString{});
    const ByteString data = Bytes({0x00, 0xFF, 0x5A, 0xA5});
    const ByteString masked = XorWithFirstByte(data, Bytes({0xA5, 0x11}));
    EXPECT_EQ(masked, Bytes({0xA5, 0x5A, 0xFF, 0x00}));
    EXPECT_EQ(XorWithFirstByte(masked, Bytes({0xA5})), data);
}

TEST(RandomInRange, StaysWithinItsBounds) {
    std::set<std::uint32_t> seen;
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t value = RandomInRange(1, 255);
        ASSERT_GE(value, 1u);
        ASSERT_LE(value, 255u);
        seen.insert(value);
    }
    EXPECT_GT(seen.size(), 1u) << "the counter does not move";

    for (int i = 0; i < 100; ++i) ASSERT_EQ(RandomInRange(7, 7), 7u);

    // The whole 32-bit range has no modulus to reduce by.
    std::set<std::uint32_t> wide;
    for (int i = 0; i < 100; ++i) wide.insert(RandomInRange(0, UINT32_MAX));
    EXPECT_GT(wide.size(), 1u);
}

}  // namespace
