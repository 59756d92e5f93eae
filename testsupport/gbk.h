#pragma once
// GBK texts for tests, written in the source as UTF-8 and converted through Qt's codec, so the
// expected bytes do not depend on the compiler's execution character set.

#include <gtest/gtest.h>

#include <QString>
#include <QStringEncoder>
#include <string>

namespace testsupport {

// The GBK bytes of a UTF-8 text; fails the current test when a character has no GBK form.
inline std::string Gbk(const std::string& utf8) {
    QStringEncoder toGbk("GBK");
    const QByteArray bytes =
        toGbk.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    EXPECT_FALSE(toGbk.hasError()) << "not representable in GBK: " << utf8;
    return bytes.toStdString();
}

}  // namespace testsupport
