#include "cipher/field_cipher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "cipher/byte_string.h"
#include "testsupport/gbk.h"

namespace {

using testsupport::Gbk;

struct NamedKey {
    const char* name;
    const std::string* key;
};
const NamedKey kKeys[] = {
    {"PasswordFieldKey", &PasswordFieldKey},
    {"RegInfoFieldKey", &RegInfoFieldKey},
};

// A stored field text taken apart by its layout: every byte but the last is masked with the
// last one.
struct StoredLayout {
    ByteString block;  // sealed block, still permuted
    int lastIndex;
    ByteString salt;
    std::uint8_t mask;
};

StoredLayout Unmask(const std::string& stored) {
    const ByteString raw = HexToBytes(stored);
    EXPECT_GE(raw.size(), 10u);
    if (raw.size() < 10) return {};
    StoredLayout layout;
    layout.mask = raw.back();
    ByteString body(raw.begin(), raw.end() - 1);
    for (std::uint8_t& b : body) b = static_cast<std::uint8_t>(b ^ layout.mask);
    const std::size_t n = body.size() - 5;
    layout.block.assign(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(n));
    layout.lastIndex = body[n] | (body[n + 1] << 8);
    layout.salt.assign(body.begin() + static_cast<std::ptrdiff_t>(n) + 2, body.end());
    return layout;
}

// Plain bytes 1..255: a 0 byte would end the deciphered text early.
std::string RandomPlain(std::mt19937& rng, std::size_t length) {
    std::uniform_int_distribution<int> byte(1, 255);
    std::string plain(length, '\0');
    for (char& c : plain) c = static_cast<char>(byte(rng));
    return plain;
}

bool IsUpperHex(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

std::string Lowercase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

ByteString Sealed(const std::string& plain) {
    ByteString block = TextToBytes(plain);
    const ByteString crc = Int32ToBytes(static_cast<std::int32_t>(Crc32OfBytes(block)));
    block.insert(block.end(), crc.begin(), crc.end());
    return block;
}

std::vector<std::string> GbkPlains() {
    return {
        Gbk("密码"),
        Gbk("注册码：ABCD-1234-EFGH，有效期至2030年12月31日。"),
        Gbk("张三 zhangsan@example.com 手机：13800138000"),
        PasswordFieldKey,
        RegInfoFieldKey,
    };
}

// ---------------------------------------------------------------------------------------------
// The stored field text

TEST(EncryptField, WritesTheStoredLayout) {
    std::mt19937 rng(1);
    for (std::size_t length = 0; length <= 200; ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        const std::string plain = RandomPlain(rng, length);
        const std::string stored = EncryptField(plain, PasswordFieldKey);

        ASSERT_EQ(stored.size(), 2 * length + 20);
        EXPECT_TRUE(IsUpperHex(stored)) << stored;
        EXPECT_NE(stored.substr(stored.size() - 2), "00");

        const StoredLayout layout = Unmask(stored);
        // The walk only permutes: the block holds the sealed bytes in some order.
        ByteString expected = Sealed(plain);
        ByteString actual = layout.block;
        std::sort(expected.begin(), expected.end());
        std::sort(actual.begin(), actual.end());
        EXPECT_EQ(actual, expected);
        for (std::uint8_t s : layout.salt) EXPECT_NE(s, 0);

        // The digest character of the last step: n for n up to 32, then it wraps round.
        const int n = static_cast<int>(length) + 4;
        int lastIndex = (n - 1) % 32 + 1;
        if (length <= 28) lastIndex = n;
        if (length == 29) lastIndex = 1;
        EXPECT_EQ(layout.lastIndex, lastIndex);
    }
}

TEST(EncryptField, OfTheEmptyTextIsTheMaskFourTimesThenIndexFour) {
    for (const NamedKey& k : kKeys) {
        SCOPED_TRACE(k.name);
        const std::string stored = EncryptField("", *k.key);
        ASSERT_EQ(stored.size(), 20u);
        const std::string mask = stored.substr(18, 2);
        EXPECT_EQ(stored.substr(0, 8), mask + mask + mask + mask);
        const ByteString raw = HexToBytes(stored);
        EXPECT_EQ(raw[4] ^ raw[9], 0x04);
        EXPECT_EQ(raw[5] ^ raw[9], 0x00);
    }
}

TEST(EncryptField, DrawsFreshRandomBytesEachCall) {
    const std::string first = EncryptField("hunter2", PasswordFieldKey);
    const std::string second = EncryptField("hunter2", PasswordFieldKey);
    EXPECT_NE(first, second);
    EXPECT_EQ(DecryptField(first, PasswordFieldKey), "hunter2");
    EXPECT_EQ(DecryptField(second, PasswordFieldKey), "hunter2");
}

// ---------------------------------------------------------------------------------------------
// Reading stored texts back

// Stored texts worked out step by step from the format, independently of this code, for fixed
// mask and salt bytes; they pin the walk, the digest input and the byte order. The last one
// was never written by EncryptField: its last digest index is 40, so the reverse walk starts
// past the end of the 32 digest characters (each of those reads as swap position 3) and
// restarts from the same index after 32 steps.
TEST(DecryptField, ReadsKnownStoredTexts) {
    const struct {
        const char* stored;
        const std::string* key;
        std::string plain;
    } cases[] = {
        {"2F2E0C323F287D34A61D68515A499DDB5A", &PasswordFieldKey, "hunter2"},
        {"055ECC561DFCA046D7473337D0A7D6A50FD526A6C9F1E4E61BA4E4", &RegInfoFieldKey,
         Gbk("注册码：ABCD-1234")},
        {"696B212177795574642165217169214E6E217B67216C726E636E73736038756D6468A27876647066"
         "40626F6E6A74210E019C326F01",
         &PasswordFieldKey, "The quick brown fox jumps over the lazy dog"},
        {"C9D3EE87D3C397D087C2D3DFD3C287CFD4B4C1D387C9C2C8CFFC87D4C2D3DFD7C287C3CEC0C2D48793C3"
         "C687C6793787CBCC8FA7F2C1D0A7",
         &PasswordFieldKey, "Index 40 walks past the end of the digest text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(DecryptField(c.stored, *c.key), c.plain);
    }
}

TEST(DecryptField, RoundTripsEveryLengthWithBothKeys) {
    std::mt19937 rng(2);
    for (const NamedKey& k : kKeys) {
        SCOPED_TRACE(k.name);
        for (std::size_t length = 0; length <= 300; ++length) {
            const std::string plain = RandomPlain(rng, length);
            ASSERT_EQ(DecryptField(EncryptField(plain, *k.key), *k.key), plain)
                << "length " << length;
        }
        for (const std::string& plain : GbkPlains()) {
            EXPECT_EQ(DecryptField(EncryptField(plain, *k.key), *k.key), plain);
        }
    }
}

TEST(DecryptField, EndsThePlainTextAtAZeroByte) {
    const std::string stored = EncryptField(std::string("ab\0cd", 5), PasswordFieldKey);
    EXPECT_EQ(stored.size(), 30u);
    EXPECT_EQ(DecryptField(stored, PasswordFieldKey), "ab");
}

TEST(DecryptField, ReadsLowercaseAndDropsAnOddLastCharacter) {
    std::mt19937 rng(3);
    for (const NamedKey& k : kKeys) {
        SCOPED_TRACE(k.name);
        for (std::size_t length : {1u, 7u, 29u, 64u}) {
            const std::string plain = RandomPlain(rng, length);
            const std::string stored = EncryptField(plain, *k.key);
            EXPECT_EQ(DecryptField(Lowercase(stored), *k.key), plain);
            EXPECT_EQ(DecryptField(stored + "7", *k.key), plain);
            EXPECT_EQ(DecryptField(stored + "Z", *k.key), plain);
        }
    }
}

TEST(DecryptField, RejectsTheWrongKey) {
    std::mt19937 rng(4);
    const std::string nearKey = PasswordFieldKey.substr(0, PasswordFieldKey.size() - 1) + "!";
    for (std::size_t length = 8; length <= 80; ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        const std::string plain = RandomPlain(rng, length);
        const std::string byPassword = EncryptField(plain, PasswordFieldKey);
        EXPECT_EQ(DecryptField(byPassword, RegInfoFieldKey), "");
        EXPECT_EQ(DecryptField(byPassword, nearKey), "");
        EXPECT_EQ(DecryptField(byPassword, ""), "");
        EXPECT_EQ(DecryptField(EncryptField(plain, RegInfoFieldKey), PasswordFieldKey), "");
    }
}

TEST(DecryptField, NeverReadsAnAlteredTextAsAnotherPlainText) {
    std::mt19937 rng(5);
    const char kDigits[] = "0123456789ABCDEF";
    for (std::size_t length : {1u, 3u, 8u, 40u}) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        const std::string plain = RandomPlain(rng, length);
        const std::string stored = EncryptField(plain, PasswordFieldKey);
        int readBack = 0;
        for (std::size_t pos = 0; pos < stored.size(); ++pos) {
            for (int d = 0; d < 16; ++d) {
                if (kDigits[d] == stored[pos]) continue;
                std::string altered = stored;
                altered[pos] = kDigits[d];
                const std::string result = DecryptField(altered, PasswordFieldKey);
                if (!result.empty()) {
                    ASSERT_EQ(result, plain) << "altered at " << pos << ": " << altered;
                    ++readBack;
                }
            }
        }
        // Short blocks let many digests walk alike; a long one leaves no change unnoticed.
        if (length >= 40) {
            EXPECT_EQ(readBack, 0);
        }
    }
}

TEST(DecryptField, GivesEmptyTextForShortStoredTexts) {
    std::mt19937 rng(6);
    const std::string valid = EncryptField("hunter2", PasswordFieldKey);
    std::uniform_int_distribution<int> digit(0, 15);
    for (std::size_t length = 0; length <= 21; ++length) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        std::string random(length, '0');
        for (char& c : random) c = "0123456789ABCDEF"[digit(rng)];
        for (const NamedKey& k : kKeys) {
            EXPECT_EQ(DecryptField(valid.substr(0, length), *k.key), "");
            EXPECT_EQ(DecryptField(random, *k.key), "");
            EXPECT_EQ(DecryptField(std::string(length, 'F'), *k.key), "");
        }
    }
    EXPECT_EQ(DecryptField(EncryptField("", PasswordFieldKey), PasswordFieldKey), "");
}

TEST(DecryptField, GivesEmptyTextForForeignTexts) {
    const std::string foreign[] = {
        "hunter2",
        "correct horse battery staple",
        "P@ssw0rd!2024-Company-Account",
        Md5HexUpper(TextToBytes("hunter2")),
        std::string(64, 'F'),
        std::string(64, '0'),
        "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF",
        Gbk("这不是加密后的字段文本，只是一段普通的中文。"),
        std::string(200, '\xFF'),
    };
    for (const std::string& text : foreign) {
        SCOPED_TRACE(text);
        for (const NamedKey& k : kKeys) EXPECT_EQ(DecryptField(text, *k.key), "");
    }
}

// A stored text whose last digest index points past its sealed block is refused before the
// walk. The salt is chosen so that the digest characters read for a one-byte plain text all
// lie past the block and swap nothing; then the same bytes read back with the index in range.
TEST(DecryptField, RejectsALastDigestIndexBeyondTheBlock) {
    const std::string plain = "k";
    const ByteString block = Sealed(plain);  // n = 5
    const ByteString keyCrc =
        Int32ToBytes(static_cast<std::int32_t>(Crc32OfBytes(TextToBytes(PasswordFieldKey))));
    const std::uint8_t mask = 0x3C;

    ByteString salt;
    for (int s = 1; s <= 255 && salt.empty(); ++s) {
        ByteString input{static_cast<std::uint8_t>(s), 0x11, 0x22, mask};
        input.insert(input.end(), keyCrc.begin(), keyCrc.end());
        const std::string digest = Md5HexUpper(input);
        // Positions 1..6 must all give a swap position past 5, i.e. a digit value of 3 or more.
        const bool noSwap = std::all_of(digest.begin(), digest.begin() + 6, [](char c) {
            return HexDigitValue(std::string(1, c)) >= 3;
        });
        if (noSwap) salt = ByteString(input.begin(), input.begin() + 3);
    }
    ASSERT_FALSE(salt.empty());

    const auto storedWithIndex = [&](std::int16_t lastIndex) {
        ByteString body = block;
        const ByteString index = Int16ToBytes(lastIndex);
        body.insert(body.end(), index.begin(), index.end());
        body.insert(body.end(), salt.begin(), salt.end());
        ByteString raw = XorWithFirstByte(body, ByteString{mask});
        raw.push_back(mask);
        return BytesToHex(raw);
    };
    EXPECT_EQ(DecryptField(storedWithIndex(5), PasswordFieldKey), plain);
    EXPECT_EQ(DecryptField(storedWithIndex(6), PasswordFieldKey), "");
    EXPECT_EQ(DecryptField(storedWithIndex(0x7FFF), PasswordFieldKey), "");
}

}  // namespace
