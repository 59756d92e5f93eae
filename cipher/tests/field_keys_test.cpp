// The key texts are part of the stored data: a field enciphered with one can only be read
// with exactly the same bytes. These checks pin both keys so that any edit fails here first.

#include <gtest/gtest.h>

#include <QString>
#include <QStringDecoder>
#include <cstdint>
#include <string>

#include "cipher/byte_string.h"
#include "cipher/field_cipher.h"

namespace {

struct KeyCase {
    const char* name;
    const std::string* key;
    std::size_t gbkBytes;
    qsizetype characters;
    int lines;
    std::uint32_t crc;
};

// Lines joined by CR LF: the number of CR LF pairs plus one, or 0 when a CR or LF stands alone.
int CrLfLines(const std::string& text) {
    int lines = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++lines;
            ++i;
        } else if (text[i] == '\r' || text[i] == '\n') {
            return 0;
        }
    }
    return lines;
}

TEST(FieldKeys, AreThePinnedGbkTexts) {
    const KeyCase cases[] = {
        {"PasswordFieldKey", &PasswordFieldKey, 179, 97, 5, 0x0A89EE23u},
        {"RegInfoFieldKey", &RegInfoFieldKey, 118, 61, 2, 0x617F854Eu},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string& key = *c.key;
        EXPECT_EQ(key.size(), c.gbkBytes);
        EXPECT_EQ(CrLfLines(key), c.lines);
        EXPECT_EQ(Crc32OfBytes(TextToBytes(key)), c.crc);

        QStringDecoder decoder("GBK");
        ASSERT_TRUE(decoder.isValid());
        const QString text =
            decoder.decode(QByteArray(key.data(), static_cast<qsizetype>(key.size())));
        EXPECT_FALSE(decoder.hasError());
        EXPECT_EQ(text.size(), c.characters);
    }
}

}  // namespace
